// frontend/commands.h: console commands that set up, show and play the game,
// and move entry for a word that is no command.
#pragma once
#include <string>

int  cmd_setboard();   // reads six words and sets up their FEN; 0 when input ends first
void cmd_fn();
void cmd_new();
void cmd_undo();       // takes back one half-move; the engine stops playing
void cmd_lj();
void cmd_ev();         // prints the evaluation and its pawn terms         // lists ply 0's generated moves with their scores
int  find_typed_move(const std::string& word);   // index in ply 0's list, or -1
void move_entry(const std::string& word);
