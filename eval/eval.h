// eval/eval.h: the static evaluation of the position, and the material state
// shared with set-up, move making and scoring. The terms are light-positive;
// eval() turns their sum to the side to move's view.
// Editions: 3.5, 3.0, 2.3; implemented by eval/eval.cpp (3.5), editions/v30/eval.cpp (3.0) and
// editions/v23/eval.cpp (2.3: piece_value and eval only).
#pragma once
#include "bitboard/bitboard.h"

extern const int piece_value[6];   // pawn 100 ... king 10000, by piece code
// Per thread: each search thread has its own.
extern constinit thread_local int material_balance;       // light's material minus dark's, kings included
extern constinit thread_local int is_endgame;             // 1 when endgame rules apply; set once per search

// Evaluation in the side to move's view; returns early, without the pins
// and the late piece terms, when far outside the window (alpha, beta).
int eval(int alpha, int beta);
int endgame();        // the phase for the side the engine is not playing; clears the pawn table on a change
int CastleEval();     // 20 against a side that lost its castling rights in the tree without castling
int connected_rooks(BitBoard rooks);   // 1 for exactly two rooks on one line with nothing between
