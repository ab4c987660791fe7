// frontend/reply.h: what every edition's console says around a move that
// cannot be played: a full game record, or an engine without a move.
#pragma once

void print_game_full();   // a move refused because the game record is full
// When the search left no move in var_princ: says whether the engine is
// mated or stalemated, stops it playing, and returns 1.
int announce_no_move();
