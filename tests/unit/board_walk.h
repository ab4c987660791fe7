// Test helpers shared by the bitboard and attack tests: square coordinates,
// random positions written straight into the board arrays, and attack sets
// found by walking the board square by square, without any of the engine's
// tables, to check the tables and maps against.
#pragma once
#include "bitboard/bitboard.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include <cstdlib>
#include <random>

namespace board_walk {

inline int file_of(int s) { return s & 7; }
inline int row_of(int s) { return s >> 3; }
inline bool on_board(int f, int r) { return f >= 0 && f < 8 && r >= 0 && r < 8; }
inline int square_at(int f, int r) { return r * 8 + f; }
inline BitBoard bit(int s) { return BitBoard{1} << s; }
inline int king_distance(int a, int b) {
    int df = std::abs(file_of(a) - file_of(b)), dr = std::abs(row_of(a) - row_of(b));
    return df > dr ? df : dr;
}

// Square from coordinate text such as "e4".
inline int sq(const char* name) { return (name[0] - 'a') + ('8' - name[1]) * 8; }

// Set of the squares named in a blank-separated list such as "e4 d5".
inline BitBoard squares(const char* names) {
    BitBoard b = 0;
    for (const char* p = names; *p;) {
        if (*p == ' ') {
            p++;
            continue;
        }
        b |= bit(sq(p));
        p += 2;
    }
    return b;
}

// Squares reached from s by stepping (df, dr) repeatedly, up to and
// including the first square for which `blocked` is true.
template <class Blocked>
BitBoard ray_walk(int s, int df, int dr, Blocked blocked) {
    BitBoard b = 0;
    for (int f = file_of(s) + df, r = row_of(s) + dr; on_board(f, r); f += df, r += dr) {
        b |= bit(square_at(f, r));
        if (blocked(square_at(f, r))) break;
    }
    return b;
}

// Straight-line attacks of a rook on s among the men of occ.
inline BitBoard rook_walk(int s, BitBoard occ) {
    auto blocked = [occ](int t) { return (occ >> t & 1) != 0; };
    return ray_walk(s, 1, 0, blocked) | ray_walk(s, -1, 0, blocked) |
           ray_walk(s, 0, 1, blocked) | ray_walk(s, 0, -1, blocked);
}

// Diagonal attacks of a bishop on s among the men of occ.
inline BitBoard bishop_walk(int s, BitBoard occ) {
    auto blocked = [occ](int t) { return (occ >> t & 1) != 0; };
    return ray_walk(s, 1, 1, blocked) | ray_walk(s, -1, 1, blocked) |
           ray_walk(s, 1, -1, blocked) | ray_walk(s, -1, -1, blocked);
}

// Squares one step of (df, dr) away from s, for each pair of the list.
template <int N>
BitBoard steps(int s, const int (&d)[N][2]) {
    BitBoard b = 0;
    for (int i = 0; i < N; i++) {
        int f = file_of(s) + d[i][0], r = row_of(s) + d[i][1];
        if (on_board(f, r)) b |= bit(square_at(f, r));
    }
    return b;
}

inline BitBoard king_steps(int s) {
    static const int d[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
    return steps(s, d);
}

inline BitBoard knight_steps(int s) {
    static const int d[8][2] = {{1, 2}, {2, 1}, {2, -1}, {1, -2}, {-1, -2}, {-2, -1}, {-2, 1}, {-1, 2}};
    return steps(s, d);
}

// The squares a pawn of side c on s attacks (rows count from the eighth
// rank, so a light pawn attacks the row above it, row - 1).
inline BitBoard pawn_steps(int s, int c) {
    const int dr = c == LIGHT ? -1 : 1;
    const int d[2][2] = {{-1, dr}, {1, dr}};
    return steps(s, d);
}

inline BitBoard occupied_by_arrays() {
    BitBoard b = 0;
    for (int s = 0; s < 64; s++)
        if (color[s] != EMPTY) b |= bit(s);
    return b;
}

// Squares the man on s attacks, read from the board arrays.
inline BitBoard man_attacks(int s) {
    const BitBoard occ = occupied_by_arrays();
    switch (piece[s]) {
        case PAWN: return pawn_steps(s, color[s]);
        case KNIGHT: return knight_steps(s);
        case BISHOP: return bishop_walk(s, occ);
        case ROOK: return rook_walk(s, occ);
        case QUEEN: return bishop_walk(s, occ) | rook_walk(s, occ);
        case KING: return king_steps(s);
        default: return 0;
    }
}

// The attack map of side `by` found square by square from the board arrays.
struct attack_map {
    BitBoard all = 0;
    BitBoard from[64] = {};
};

inline attack_map walk_attack_map(int by) {
    attack_map m;
    for (int s = 0; s < 64; s++) {
        if (color[s] != by) continue;
        BitBoard targets = man_attacks(s);
        m.all |= targets;
        for (int t = 0; t < 64; t++)
            if (targets >> t & 1) m.from[t] |= bit(s);
    }
    return m;
}

// Fills the board arrays with a random position (one king a side, pawns
// off the back ranks, `men` other men at most) and rebuilds every set and
// table from them, as setting up a position does. Legality is not needed
// by the attack code, so neither side's check is looked at.
inline void random_position(std::mt19937& rng, int men) {
    for (int s = 0; s < 64; s++) color[s] = piece[s] = EMPTY;
    std::uniform_int_distribution<int> square(0, 63);
    auto empty_square = [&](bool pawn) {
        for (;;) {
            int s = square(rng);
            if (color[s] != EMPTY) continue;
            if (pawn && (row_of(s) == 0 || row_of(s) == 7)) continue;
            return s;
        }
    };
    light_king_sq = empty_square(false);
    color[light_king_sq] = LIGHT;
    piece[light_king_sq] = KING;
    dark_king_sq = empty_square(false);
    color[dark_king_sq] = DARK;
    piece[dark_king_sq] = KING;
    // Pawns and sliders are the most frequent; queens are common enough to
    // give positions with two or more queens a side.
    static const int kinds[] = {PAWN, PAWN, PAWN, KNIGHT, BISHOP, BISHOP, ROOK, ROOK, QUEEN, QUEEN};
    std::uniform_int_distribution<int> kind(0, 9), side_of(0, 1);
    for (int i = 0; i < men; i++) {
        int k = kinds[kind(rng)];
        int s = empty_square(k == PAWN);
        color[s] = side_of(rng);
        piece[s] = k;
    }
    init_mask();
}

}  // namespace board_walk
