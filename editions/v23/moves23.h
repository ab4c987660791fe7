// editions/v23/moves23.h: edition 2.3's mailbox move generation. Move2Gen
// (moves/gen.h) generates every move of the side to move at `ply`; makemove,
// takeback and the null move are those of moves/make.h; attack and in_check
// those of moves/attack.h, answered from the board arrays. The walks follow
// the 10 x 12 frame's offsets (board/position.h), read from the tables below
// that list, square by square, where each offset leads.
// Editions: 2.3.
#pragma once
#include <cstdint>

void gen_captures();   // the capturing moves of the same walk, for the quiescence search

constexpr int RAY_DIRECTIONS = 8;   // the queen's and the king's, in the order of offset[QUEEN]
constexpr int RAY_END = -1;         // closes a list of squares

// Direction numbers (indices into offset[QUEEN]) of the bishop's and the
// rook's offsets, in the order of offset[BISHOP] and offset[ROOK].
constexpr int BISHOP_DIRECTIONS[4] = {0, 2, 5, 7};
constexpr int ROOK_DIRECTIONS[4] = {1, 3, 4, 6};

// Directions from this number on lead to higher square numbers.
constexpr int FIRST_RISING_DIRECTION = 4;

// For every square: the squares along each direction up to the edge, and
// the knight's jumps in the order of offset[KNIGHT]; RAY_END after the last.
// The same as sets of squares (bit n for square n), with the king's steps;
// the knight's jumps and the king's steps rise in offset order, so a set
// read from its lowest square gives them in that order.
struct move_rays {
    int8_t along[64][RAY_DIRECTIONS][8];
    int8_t jumps[64][9];
    uint64_t along_set[64][RAY_DIRECTIONS];
    uint64_t jump_set[64];
    uint64_t step_set[64];
};

constexpr move_rays make_move_rays() {
    // Row and file steps of offset[QUEEN] (-11 -10 -9 -1 1 9 10 11) and of
    // offset[KNIGHT] (-21 -19 -12 -8 8 12 19 21); a row step of -1 goes
    // towards rank 8.
    constexpr int queen_rows[8] = {-1, -1, -1, 0, 0, 1, 1, 1}, queen_files[8] = {-1, 0, 1, -1, 1, -1, 0, 1};
    constexpr int knight_rows[8] = {-2, -2, -1, -1, 1, 1, 2, 2}, knight_files[8] = {-1, 1, -2, 2, -2, 2, -1, 1};
    auto on_board = [](int r, int f) { return r >= 0 && r < 8 && f >= 0 && f < 8; };
    move_rays t{};
    for (int sq = 0; sq < 64; sq++) {
        const int r0 = sq >> 3, f0 = sq & 7;
        for (int d = 0; d < RAY_DIRECTIONS; d++) {
            int n = 0;
            for (int r = r0 + queen_rows[d], f = f0 + queen_files[d]; on_board(r, f);
                 r += queen_rows[d], f += queen_files[d]) {
                t.along[sq][d][n++] = int8_t(r * 8 + f);
                t.along_set[sq][d] |= uint64_t(1) << (r * 8 + f);
            }
            t.along[sq][d][n] = RAY_END;   // a ray holds seven squares at most
            if (n > 0) t.step_set[sq] |= uint64_t(1) << t.along[sq][d][0];
        }
        int n = 0;
        for (int j = 0; j < 8; j++) {
            const int r = r0 + knight_rows[j], f = f0 + knight_files[j];
            if (!on_board(r, f)) continue;
            t.jumps[sq][n++] = int8_t(r * 8 + f);
            t.jump_set[sq] |= uint64_t(1) << (r * 8 + f);
        }
        t.jumps[sq][n] = RAY_END;
    }
    return t;
}

inline constexpr move_rays MOVE_RAYS = make_move_rays();
