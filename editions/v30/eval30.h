// editions/v30/eval30.h: the names of edition 3.0's evaluation that edition
// 3.5 does not have. The shared names (eval, eval_pawns, eval_pieces, the
// king terms, the pawn terms printed by "ev") keep their headers in eval/.
// Editions: 3.0.
#pragma once
#include "bitboard/bitboard.h"

// Pawn placement, light's view; a dark pawn on sq reads flip[sq].
extern const int pawn_pcsq[64];
// By file a to h: the charge against a pawn for standing away from the
// centre, the same for both sides.
extern const int center_factor[8];

// The isolated pawns of each side, rebuilt by every isolated_pawns().
// Per thread: each search thread has its own.
extern constinit thread_local BitBoard light_isolated, dark_isolated;
