// editions/v30/make.h: edition 3.0 makes and takes back moves set by set,
// without snapshots; the interface is that of moves/make.h.
// Editions: 3.0.
#pragma once
#include "moves/make.h"

// Keeps the occupied sets, empty_squares and the king squares for a move
// being made (undo 0) or taken back (undo 1, squares exchanged).
void w_update(int from, int to, int bits, int ep_square, int undo);
