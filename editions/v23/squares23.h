// editions/v23/squares23.h: the board arrays (color, piece) read sixteen
// squares at a time into 64-bit sets of squares, bit n for square n, for the
// loops that visit only some of the men.
// Editions: 2.3.
#pragma once
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__SSE2__)
// Entries from[0..15] of a board array as sixteen bytes: every colour and
// piece code fits in one.
inline __m128i sixteen_bytes(const int* from) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 4));
    const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 8));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 12));
    return _mm_packus_epi16(_mm_packs_epi32(a, b), _mm_packs_epi32(c, d));
}

// The squares of the quarter-board 16 * quarter .. 16 * quarter + 15 whose
// bytes in m are set.
inline uint64_t sixteen_bits(__m128i m, int quarter) {
    return uint64_t(uint32_t(_mm_movemask_epi8(m))) << (16 * quarter);
}
#endif

// The squares whose entry in a board array equals value.
inline uint64_t squares_holding(const int* board, int value) {
    uint64_t found = 0;
#if defined(__SSE2__)
    const __m128i wanted = _mm_set1_epi8(char(value));
    for (int q = 0; q < 4; q++) found |= sixteen_bits(_mm_cmpeq_epi8(sixteen_bytes(board + 16 * q), wanted), q);
#else
    for (int sq = 0; sq < 64; sq++)
        if (board[sq] == value) found |= uint64_t(1) << sq;
#endif
    return found;
}
