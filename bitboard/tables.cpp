// bitboard/tables.cpp: building the geometry tables.
#include "bitboard/tables.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "board/position.h"
#include <cstring>

BitBoard sider[64];
BitBoard king_moves[64];
BitBoard knight_moves[64];
BitBoard filas[8];
BitBoard columnas[8];
BitBoard octavas;
BitBoard central_squares;
BitBoard cruz[64];
BitBoard diag[64];
BitBoard star[64];
BitBoard king_area[64];
BitBoard horizonte[2][64];
BitBoard light_squares, dark_squares;
BitBoard entre[64][64];
BitBoard light_pattack[64], dark_pattack[64];

BitBoard E1F1G1, E1D1C1, E8F8G8, E8D8C8;
BitBoard H1F1, A1D1, H8F8, A8D8;
BitBoard H1G1F1, H8G8F8, A1H1A8H8;

const int sq_color[64] = {
    0, 1, 0, 1, 0, 1, 0, 1,
    1, 0, 1, 0, 1, 0, 1, 0,
    0, 1, 0, 1, 0, 1, 0, 1,
    1, 0, 1, 0, 1, 0, 1, 0,
    0, 1, 0, 1, 0, 1, 0, 1,
    1, 0, 1, 0, 1, 0, 1, 0,
    0, 1, 0, 1, 0, 1, 0, 1,
    1, 0, 1, 0, 1, 0, 1, 0,
};

namespace {

void init_castle_masks() {
    E1F1G1 = mask[E1] | mask[F1] | mask[G1];
    E1D1C1 = mask[E1] | mask[D1] | mask[C1];
    E8F8G8 = mask[E8] | mask[F8] | mask[G8];
    E8D8C8 = mask[E8] | mask[D8] | mask[C8];
    H1F1 = mask[H1] | mask[F1];
    A1D1 = mask[A1] | mask[D1];
    H8F8 = mask[H8] | mask[F8];
    A8D8 = mask[A8] | mask[D8];
    H1G1F1 = mask[H1] | mask[G1] | mask[F1];
    H8G8F8 = mask[H8] | mask[G8] | mask[F8];
    A1H1A8H8 = mask[A1] | mask[H1] | mask[A8] | mask[H8];
}

// Steps in square numbers, with the files on which each step would wrap
// around the board edge.
struct step {
    int delta;
    BitBoard forbidden_files;
};

BitBoard set_of_steps(int s, const step* steps, int n) {
    BitBoard b = 0;
    for (int i = 0; i < n; i++) {
        int t = s + steps[i].delta;
        if (t < 0 || t > 63 || (steps[i].forbidden_files & mask[s])) continue;
        b |= mask[t];
    }
    return b;
}

// The squares a slider on s reaches walking the mailbox in direction d to the edge.
BitBoard ray(int s, int d) {
    BitBoard b = 0;
    for (int t = mailbox[mailbox64[s] + d]; t != -1; t = mailbox[mailbox64[t] + d]) b |= mask[t];
    return b;
}

void init_pawn_attacks() {
    for (int s = 0; s < 64; s++) {
        bool back_rank = s < 8 || s >= 56;
        light_pattack[s] = back_rank ? 0 : sider[s - 8];
        dark_pattack[s] = back_rank ? 0 : sider[s + 8];
    }
}

}  // namespace

void init_king_moves() {
    const BitBoard a = columnas[0], h = columnas[7];
    const step steps[] = {{-1, a}, {+1, h}, {+8, 0}, {-8, 0}, {-9, a}, {+7, a}, {-7, h}, {+9, h}};
    for (int s = 0; s < 64; s++) king_moves[s] = set_of_steps(s, steps, 8);
}

void init_knight_moves() {
    const BitBoard a = columnas[0], b = columnas[1], g = columnas[6], h = columnas[7];
    const step steps[] = {{-15, h}, {+15, a}, {+6, a | b}, {-6, g | h},
                          {+10, g | h}, {-10, a | b}, {+17, h}, {-17, a}};
    for (int s = 0; s < 64; s++) knight_moves[s] = set_of_steps(s, steps, 8);
}

void init_lines() {
    for (int r = 0; r < 8; r++) {
        filas[r] = columnas[r] = 0;
        for (int i = 0; i < 8; i++) {
            filas[r] |= mask[r * 8 + i];
            columnas[r] |= mask[r + 8 * i];
        }
    }
    octavas = filas[0] | filas[7];
    central_squares = mask[27] | mask[28] | mask[35] | mask[36];
    for (int s = 0; s < 64; s++) {
        cruz[s] = filas[s >> 3] | columnas[s & 7];
        diag[s] = mask[s];
        for (int i = 0; i < offsets[BISHOP]; i++) diag[s] |= ray(s, offset[BISHOP][i]);
        star[s] = cruz[s] | diag[s];
    }
}

// king_area needs king_moves, which need the file sets; built after both.
static void init_king_area() {
    for (int s = 0; s < 64; s++) {
        BitBoard area = mask[s] | king_moves[s];
        for (BitBoard k = king_moves[s]; k; k &= k - 1) area |= king_moves[BBf(k)];
        king_area[s] = area;
    }
}

void init_horizonte() {
    for (int s = 0; s < 64; s++) {
        int r = s >> 3, f = s & 7;
        BitBoard h = columnas[f];
        if (f > 0) h |= columnas[f - 1];
        if (f < 7) h |= columnas[f + 1];
        BitBoard ahead_light = 0, ahead_dark = 0;
        for (int i = 0; i < r; i++) ahead_light |= filas[i];
        for (int i = r + 1; i < 8; i++) ahead_dark |= filas[i];
        horizonte[0][s] = r >= 2 ? h & ahead_light : 0;
        horizonte[1][s] = r <= 5 ? h & ahead_dark : 0;
    }
}

void init_entre() {
    std::memset(entre, 0, sizeof entre);
    for (int a = 0; a < 64; a++) {
        for (int i = 0; i < offsets[QUEEN]; i++) {
            BitBoard between = 0;
            int d = offset[QUEEN][i];
            for (int t = mailbox[mailbox64[a] + d]; t != -1; t = mailbox[mailbox64[t] + d]) {
                entre[a][t] = between;
                between |= mask[t];
            }
        }
    }
}

namespace {

// The tables never change, so they are built at the first set-up only.
bool geometry_built = false;

void build_geometry() {
    for (int i = 0; i < 64; i++) mask[i] = BitBoard{1} << i;
    for (int s = 0; s < 64; s++) {
        int f = s & 7;
        sider[s] = f == 0 ? mask[s + 1] : f == 7 ? mask[s - 1] : mask[s - 1] | mask[s + 1];
    }
    init_castle_masks();
    init_lines();
    init_king_moves();
    init_knight_moves();
    init_king_area();
    init_horizonte();
    light_squares = dark_squares = 0;
    for (int s = 0; s < 64; s++) (sq_color[s] ? dark_squares : light_squares) |= mask[s];
    init_entre();
    init_pawn_attacks();
    init_rook_tables();
    geometry_built = true;
}

}  // namespace

// All geometry is built before the piece sets, because adding a pawn to its
// set also marks the squares it attacks and so reads the pawn-attack tables.
void init_mask() {
    if (!geometry_built) build_geometry();
    init_occupied();
}
