// moves/score.h: static exchange evaluation and the ordering score given to
// each move as it is generated.
// Editions: 3.5; 3.0 has editions/v30/score.h, 2.3 scores in editions/v23/search23.cpp.
#pragma once
#include "bitboard/bitboard.h"
#include "board/position.h"

// Ordering score of a move of the side to move, given the attacker sets of
// the opponent (from_x) and of the mover (from_s) for every square.
int scoring2(move_bytes m, const BitBoard* from_x, const BitBoard* from_s);
// The same with the stored best move of the position already looked up
// (0 when none), so that a generation reads the table once, not per move.
int score_move(move_bytes m, const BitBoard* from_x, const BitBoard* from_s, uint32_t hash_move);
uint32_t stored_hash_move();   // the table's best move for the current position, or 0
// Outcome of the capture sequence on `to`, started from `from`; stm recaptures first.
int sce2(int from, int to, const BitBoard* xatt, const BitBoard* satt, int stm);
// The slider of side c behind s that now bears on `to`, as a set, or empty.
BitBoard XrayAttack(int to, BitBoard A, int s, int c);
