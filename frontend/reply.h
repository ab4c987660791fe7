// frontend/reply.h: what every edition's front ends share around the moves:
// a full game record, an engine without a move, and the XBoard side change.
#pragma once
#include <string>

void print_game_full();   // a move refused because the game record is full
// When the search left no move in var_princ: says whether the engine is
// mated or stalemated, stops it playing, and returns 1.
int announce_no_move();
// XBoard "white"/"black" (the word): side s moves next on the board as it
// stands, the game record restarts and the engine plays the other colour.
// Refused with an error line when it would let s take the enemy king.
void set_side_to_move(int s, const std::string& word);
