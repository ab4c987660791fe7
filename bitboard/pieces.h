// bitboard/pieces.h: the position as square sets, one per piece kind and side,
// with the derived sets the attack code and the evaluation read. Built from
// the board arrays at set-up; kept current by making and taking back moves.
// Editions: 3.5, 3.0.
#pragma once
#include "bitboard/bitboard.h"

// Per thread: each search thread has its own.
extern constinit thread_local BitBoard light_pawns, dark_pawns;
extern constinit thread_local BitBoard light_knights, dark_knights;
extern constinit thread_local BitBoard light_bishops, dark_bishops;
extern constinit thread_local BitBoard light_rooks, dark_rooks;
extern constinit thread_local BitBoard light_queens, dark_queens;
extern constinit thread_local BitBoard light_occupied, dark_occupied;            // every man of the side, king included
extern constinit thread_local BitBoard light_pieces, dark_pieces;                // occupied without the pawns
extern constinit thread_local BitBoard light_rooksqueens, dark_rooksqueens;      // straight-line sliders
extern constinit thread_local BitBoard light_bishopsqueens, dark_bishopsqueens;  // diagonal sliders
extern constinit thread_local BitBoard empty_squares;
extern constinit thread_local BitBoard light_pawn_attacked, dark_pawn_attacked;  // squares the side's pawns attack
extern constinit thread_local BitBoard light_open_columns, dark_open_columns;    // files without a pawn of the side

void init_occupied();   // rebuilds every set from the board arrays, then the rook attack tables
void derive_piece_sets();   // the pieces and slider sets, from the per-kind sets

// Add (remove = 0) or remove (remove != 0) a man of side `color` on `sq`.
// A pawn keeps its side's open-file and pawn-attack sets true as well; the
// others toggle their square when removing, so callers only remove men that are there.
void modif_peon(int color, int sq, int remove);
void modif_caba(int color, int sq, int remove);
void modif_alfil(int color, int sq, int remove);
void modif_torre(int color, int sq, int remove);
void modif_dama(int color, int sq, int remove);
void modif_piece(int color, int kind, int sq, int remove);   // one of the five by piece code; nothing for a king
