// eval/pawns.h: the pawn structure score of both sides, light-positive,
// cached in the pawn table under master_pawn. The separate terms are also
// printed by the "ev" command.
// Editions: 3.5, 3.0; 3.0's implementation is editions/v30/pawns.cpp.
#pragma once
#include "bitboard/bitboard.h"

// Per thread: each search thread has its own.
extern constinit thread_local BitBoard light_passed, dark_passed;   // rebuilt by every passed_pawns()

int eval_pawns();        // the whole pawn score
int chain_space();       // advance of the pawns on files b to g
int passed_pawns();      // doubled in the endgame phase
int isolated_pawns();
int islands_pawns();     // files without pawns
int doubled_pawns();
int backward_pawns();
int central_pawns();
int delta_pawns(BitBoard p);   // imbalance of p between the two square colours
