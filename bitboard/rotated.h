// bitboard/rotated.h: the occupancy set, its copy rotated by 90 degrees (each
// file one byte), the rook attack tables indexed by a rank or file byte, and
// the diagonal attacks, computed from the plain occupancy.
// Editions: 3.5, 3.0.
#pragma once
#include "bitboard/bitboard.h"

// Per thread: the occupancy. Shared, built once at start-up: the attack tables.
extern constinit thread_local BitBoard casillas_ocupadas;       // every occupied square
extern constinit thread_local BitBoard casillas_ocupadas_90R;   // the same, square s at bit rotator90R[s]
extern const int rotator90R[64];         // (7 - file) * 8 + row
extern const int rotator90L[64];         // the inverse mapping
extern BitBoard ataque_horizontal[64][256];   // [square][rank byte]: rook attacks along the rank
extern BitBoard ataque_vertical[64][256];     // [square][file byte]: rook attacks along the file

int ocupacion_horizontal(int s, BitBoard occ);   // the byte of occ on the rank of s
int ocupacion_vertical(int s, BitBoard occ);     // the rotated byte of occ on the file of s
void g90R_BitBoard(BitBoard b, BitBoard* out);  // *out = b rotated
BitBoard BBat7(int occ, BitBoard sq);           // rank attack of a rook on the single square of sq
void init_rook_tables();   // builds both rook attack tables

// Straight-line attacks of a rook (or queen) on s under the occupancy occ.
inline BitBoard rook_attacks(int s, BitBoard occ) {
    return ataque_horizontal[s][ocupacion_horizontal(s, occ)] |
           ataque_vertical[s][ocupacion_vertical(s, occ)];
}

// The two diagonals through each square, the square itself left out.
struct diagonal_lines {
    BitBoard down_right[64];   // towards h1 and a8
    BitBoard down_left[64];    // towards a1 and h8
};

constexpr diagonal_lines make_diagonal_lines() {
    diagonal_lines d{};
    for (int s = 0; s < 64; s++) {
        const int row = s >> 3, file = s & 7;
        for (int r = 0; r < 8; r++) {
            if (r == row) continue;
            const int f1 = file + (r - row), f2 = file - (r - row);
            if (f1 >= 0 && f1 < 8) d.down_right[s] |= BitBoard(1) << (r * 8 + f1);
            if (f2 >= 0 && f2 < 8) d.down_left[s] |= BitBoard(1) << (r * 8 + f2);
        }
    }
    return d;
}

inline constexpr diagonal_lines DIAGONALS = make_diagonal_lines();

inline BitBoard flip_ranks(BitBoard b) { return __builtin_bswap64(b); }

// Attacks from s along a line that holds one square per rank: the nearest
// blocker above s comes from subtracting twice s's bit, the one below from
// the same done on the board flipped by its ranks (a byte swap).
inline BitBoard line_attacks(int s, BitBoard occ, BitBoard line) {
    const BitBoard o = occ & line, bit = BitBoard(1) << s;
    const BitBoard up = o - 2 * bit;
    const BitBoard down = flip_ranks(flip_ranks(o) - 2 * flip_ranks(bit));
    return (up ^ down) & line;
}

// Straight-line attacks of a rook (or queen) on s under any occupancy occ,
// without the rotated copy: the rank from its table, the file by the line
// rule above.
inline BitBoard straight_attacks(int s, BitBoard occ) {
    const BitBoard file = (BitBoard{0x0101010101010101} << (s & 7)) & ~(BitBoard{1} << s);
    return ataque_horizontal[s][ocupacion_horizontal(s, occ)] | line_attacks(s, occ, file);
}

// Diagonal attacks of a bishop (or queen) on s under the occupancy occ.
inline BitBoard bishop_attacks(int s, BitBoard occ) {
    return line_attacks(s, occ, DIAGONALS.down_right[s]) | line_attacks(s, occ, DIAGONALS.down_left[s]);
}
