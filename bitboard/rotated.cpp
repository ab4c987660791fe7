// bitboard/rotated.cpp: rotated occupancy and the rook attack tables.
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include <cstdio>

constinit thread_local BitBoard casillas_ocupadas{};
constinit thread_local BitBoard casillas_ocupadas_90R{};
BitBoard ataque_horizontal[64][256];
BitBoard ataque_vertical[64][256];

const int rotator90R[64] = {
    56, 48, 40, 32, 24, 16,  8,  0,
    57, 49, 41, 33, 25, 17,  9,  1,
    58, 50, 42, 34, 26, 18, 10,  2,
    59, 51, 43, 35, 27, 19, 11,  3,
    60, 52, 44, 36, 28, 20, 12,  4,
    61, 53, 45, 37, 29, 21, 13,  5,
    62, 54, 46, 38, 30, 22, 14,  6,
    63, 55, 47, 39, 31, 23, 15,  7,
};

const int rotator90L[64] = {
     7, 15, 23, 31, 39, 47, 55, 63,
     6, 14, 22, 30, 38, 46, 54, 62,
     5, 13, 21, 29, 37, 45, 53, 61,
     4, 12, 20, 28, 36, 44, 52, 60,
     3, 11, 19, 27, 35, 43, 51, 59,
     2, 10, 18, 26, 34, 42, 50, 58,
     1,  9, 17, 25, 33, 41, 49, 57,
     0,  8, 16, 24, 32, 40, 48, 56,
};

int ocupacion_horizontal(int s, BitBoard occ) {
    int row = s >> 3;
    return int((occ & filas[row]) >> (8 * row));
}

int ocupacion_vertical(int s, BitBoard occ) {
    BitBoard rotated;
    if (occ == casillas_ocupadas) {
        rotated = casillas_ocupadas_90R;
    } else {
        // Only the file of s matters: rotate just its squares.
        rotated = 0;
        for (BitBoard f = occ & columnas[s & 7]; f; f &= f - 1) rotated |= mask[rotator90R[BBf(f)]];
    }
    int byte = rotator90R[s] >> 3;
    return int((rotated & filas[byte]) >> (8 * byte));
}

void g90R_BitBoard(BitBoard b, BitBoard* out) {
    *out = 0;
    while (b) {
        int k = BBf(b);
        b ^= mask[k];
        *out |= mask[rotator90R[k]];
    }
}

BitBoard BBat7(int occ, BitBoard sq) {
    if (PopCnt(sq) != 1) std::printf("error parametros BBat7\n");
    int s = BBf(sq);
    if (s > 63) return 0;   // an empty set names no square at all
    int r = s / 8, c = s % 8;
    unsigned h = 1u << c, bits = 0;
    for (int i = 1; i < 8 - c; i++) {
        bits |= h << i;
        if (occ & (h << i)) break;
    }
    for (int i = 1; i <= c; i++) {
        bits |= h >> i;
        if (occ & (h >> i)) break;
    }
    return BitBoard(bits) << (8 * r);
}

void init_rook_tables() {
    for (int occ = 0; occ < 256; occ++)
        for (int s = 0; s < 64; s++) ataque_horizontal[s][occ] = BBat7(occ, mask[s]);
    // The rank table read in rotated coordinates is the file table.
    for (int occ = 0; occ < 256; occ++) {
        for (int i = 0; i < 64; i++) {
            BitBoard v = 0;
            for (BitBoard a = ataque_horizontal[i][occ]; a; a &= a - 1) v |= mask[rotator90L[BBf(a)]];
            ataque_vertical[rotator90L[i]][occ] = v;
        }
    }
}
