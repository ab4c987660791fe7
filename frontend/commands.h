// frontend/commands.h: console commands that set up, show and play the game,
// move entry for a word that is no command, and the engine's reply.
#pragma once
#include <string>
#include "frontend/input.h"

int  cmd_setboard();   // reads six words and sets up their FEN; 0 when input ends first
void cmd_fn();
void cmd_new();
void cmd_undo();       // takes back one half-move; the engine stops playing
void cmd_lj();
void print_evaluation_terms();   // "ev": the static evaluation and the pawn terms, nine lines         // lists ply 0's generated moves with their scores
void cmd_on();         // the engine takes the side to move
void cmd_st();         // seconds per move, from the next word
void cmd_sd();         // plies per move, from the next word
void cmd_ab();         // the next move played goes into the book
int  find_typed_move(const std::string& word);   // index in ply 0's list, or -1
void move_entry(const std::string& word);
void engine_reply();   // the engine searches, prints its statistics and plays
