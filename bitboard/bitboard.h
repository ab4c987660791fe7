// bitboard/bitboard.h: square sets as 64-bit integers and their primitives.
// Bit i stands for square i (0 = a8 ... 63 = h1); sets are walked lowest
// square first: while (b) { int s = BBf(b); b ^= mask[s]; ... }.
// Editions: 3.5, 3.0, 2.3; edition 2.3 uses only these primitives of the bitboard layer.
#pragma once
#include <bit>
#include <cstdint>

using BitBoard = uint64_t;

// Shared, built once at start-up.
extern BitBoard mask[64];   // mask[i]: square i alone

// Lowest member; 64 for the empty set (callers only use it on non-empty sets).
inline int BBf(BitBoard b) { return std::countr_zero(b); }
// Lowest member, or -1 for the empty set.
inline int BBfirst(BitBoard b) { return b ? std::countr_zero(b) : -1; }
// Highest member, or 0 for the empty set.
inline int BBlast(BitBoard b) { return b ? 63 - std::countl_zero(b) : 0; }
// Lowest member at index k or above; -1 when there is none or k is off the board.
inline int BBnext(int k, BitBoard b) {
    if (k < 0 || k >= 64) return -1;
    b >>= k;
    return b ? k + std::countr_zero(b) : -1;
}
inline int BitCount(BitBoard b) { return std::popcount(b); }
inline int PopCnt(BitBoard b) { return std::popcount(b); }

void muestra_BitBoard(BitBoard b);   // prints the set as an 8 x 8 grid of 0 and 1
