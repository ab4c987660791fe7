// editions/v23/gen.cpp: edition 2.3's mailbox move generation: every man of
// the side to move, a8 to h1, stepping through the 10 x 12 frame (read from
// the precomputed rays and sets of moves23.h). The list grows at `end`, the next free
// entry of gen_dat, which is stored as gen_end[ply] once the list is done.
#include "editions/v23/moves23.h"
#include "board/position.h"
#include "moves/gen.h"
#include "editions/v23/squares23.h"
#include <bit>
#include <cstdint>

namespace {

void push(int& end, int from, int to, int promote, int bits) {
    if (end >= GEN_STACK) return;   // a set-up position with more men than a game can have
    gen_dat[end++] = gen_rec{move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)}, 0};
}

// A pawn move onto the last rank comes as four promotions, knight first.
void push_pawn(int& end, int from, int to, int bits) {
    if (to < 8 || to > 55) {
        for (int p = KNIGHT; p <= QUEEN; p++) push(end, from, to, p, bits | MF_PROMOTE);
    } else {
        push(end, from, to, 0, bits);
    }
}

// The squares the generation reads off the board: those holding a man of
// either side, and those holding one of the opponent's.
struct taken_squares {
    uint64_t any, enemy;
};

// Moves from sq to the squares of `targets`, lowest first: captures onto
// the opponent's men, quiet moves onto empty squares.
void push_targets(int& end, int sq, uint64_t targets, const taken_squares& taken, bool captures_only) {
    targets &= captures_only ? taken.enemy : ~taken.any | taken.enemy;
    for (; targets; targets &= targets - 1) {
        const int t = std::countr_zero(targets);
        push(end, sq, t, 0, (taken.enemy >> t & 1) ? MF_CAPTURE : 0);
    }
}

// Along one direction: quiet moves up to the first man met, then the
// capture of that man when it is the opponent's.
void slide(int& end, int sq, int direction, const taken_squares& taken, bool captures_only) {
    const uint64_t met = MOVE_RAYS.along_set[sq][direction] & taken.any;
    int first = RAY_END;
    if (met) first = direction >= FIRST_RISING_DIRECTION ? std::countr_zero(met) : 63 - std::countl_zero(met);
    if (!captures_only)
        for (const int8_t* t = MOVE_RAYS.along[sq][direction]; *t != first; t++) push(end, sq, *t, 0, 0);
    if (met && (taken.enemy >> first & 1)) push(end, sq, first, 0, MF_CAPTURE);
}

void piece_moves(int& end, int sq, const taken_squares& taken, bool captures_only) {
    switch (piece[sq]) {
        case KNIGHT: push_targets(end, sq, MOVE_RAYS.jump_set[sq], taken, captures_only); break;
        case BISHOP:
            for (int d : BISHOP_DIRECTIONS) slide(end, sq, d, taken, captures_only);
            break;
        case ROOK:
            for (int d : ROOK_DIRECTIONS) slide(end, sq, d, taken, captures_only);
            break;
        case QUEEN:
            for (int d = 0; d < RAY_DIRECTIONS; d++) slide(end, sq, d, taken, captures_only);
            break;
        case KING: push_targets(end, sq, MOVE_RAYS.step_set[sq], taken, captures_only); break;
        default: break;
    }
}

void pawn_moves(int& end, int sq, bool captures_only) {
    const int file = sq & 7;
    const bool light = side == LIGHT;
    const int left = light ? sq - 9 : sq + 7, right = light ? sq - 7 : sq + 9;
    if (file != 0 && color[left] == xside) push_pawn(end, sq, left, MF_PAWN | MF_CAPTURE);
    if (file != 7 && color[right] == xside) push_pawn(end, sq, right, MF_PAWN | MF_CAPTURE);
    if (captures_only) return;
    const int step = light ? sq - 8 : sq + 8;
    if (color[step] != EMPTY) return;
    push_pawn(end, sq, step, MF_PAWN);
    const int start_row = light ? 6 : 1;
    const int twice = light ? sq - 16 : sq + 16;
    if ((sq >> 3) == start_row && color[twice] == EMPTY) push(end, sq, twice, 0, MF_PAWN | MF_DOUBLE);
}

// Castling is offered with the right, the king at home and the rook on its
// corner; whether it is legal is decided when it is made.
void castling(int& end) {
    const int home = side == LIGHT ? E1 : E8;
    if (piece[home] != KING || color[home] != side) return;
    const int short_right = side == LIGHT ? CASTLE_LIGHT_SHORT : CASTLE_DARK_SHORT;
    const int long_right = side == LIGHT ? CASTLE_LIGHT_LONG : CASTLE_DARK_LONG;
    auto own_rook = [](int sq) { return piece[sq] == ROOK && color[sq] == side; };
    if ((castle & short_right) && own_rook(home + 3)) push(end, home, home + 2, 0, MF_CASTLE);
    if ((castle & long_right) && own_rook(home - 4)) push(end, home, home - 2, 0, MF_CASTLE);
}

// Own pawns diagonally behind the en passant square take onto it.
void en_passant(int& end) {
    if (ep == -1) return;
    const bool light = side == LIGHT;
    const int from_left = light ? ep + 7 : ep - 9, from_right = light ? ep + 9 : ep - 7;
    if ((ep & 7) != 0 && color[from_left] == side && piece[from_left] == PAWN)
        push(end, from_left, ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
    if ((ep & 7) != 7 && color[from_right] == side && piece[from_right] == PAWN)
        push(end, from_right, ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
}

void generate(bool captures_only) {
    int end = gen_begin[ply];
    const uint64_t own = squares_holding(color, side);
    const taken_squares taken{~squares_holding(color, EMPTY), squares_holding(color, xside)};
    for (uint64_t men = own; men; men &= men - 1) {
        const int sq = std::countr_zero(men);
        if (piece[sq] == PAWN) pawn_moves(end, sq, captures_only);
        else piece_moves(end, sq, taken, captures_only);
    }
    if (!captures_only) castling(end);
    en_passant(end);
    gen_end[ply] = end;
    gen_begin[ply + 1] = end;
}

}  // namespace

void Move2Gen() { generate(false); }

void gen_captures() { generate(true); }
