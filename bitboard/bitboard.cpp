// bitboard/bitboard.cpp: the square masks and the set printout.
#include "bitboard/bitboard.h"
#include <cstdio>

BitBoard mask[64];

void muestra_BitBoard(BitBoard b) {
    for (int s = 0; s < 64; s++) {
        std::printf(" %d", int(b >> s & 1));
        if ((s & 7) == 7) std::printf("\n");
    }
}
