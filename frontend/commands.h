// frontend/commands.h: console commands that set up, show and play the game,
// and move entry for a word that is no command.
#pragma once
#include <string>

int  cmd_setboard();   // reads six words and sets up their FEN; 0 when input ends first
void cmd_fn();
void cmd_new();
void move_entry(const std::string& word);
