// editions/v30/score.h: edition 3.0's exchange estimate and move ordering
// score, read from the two flag maps of the generation.
// Editions: 3.0.
#pragma once
#include "board/position.h"

int sce(int from, int to, int fx, int fs);   // fx, fs: the two sides' flags of the destination
int scoring(move_bytes m, const int* flags_x, const int* flags_s);
