// editions/v23/make.cpp: attacks, making and taking back moves, and the null
// move of edition 2.3, on the board arrays alone. Every made move (a null
// move too) pushes the position's key on the repetition stack.
#include "editions/v23/game.h"
#include "editions/v23/moves23.h"
#include "editions/v23/table.h"
#include "board/position.h"
#include "moves/attack.h"
#include "moves/make.h"
#include "editions/v23/squares23.h"
#include <bit>
#include <cstdint>

namespace {

// The sliding man other than the queen that moves along each direction.
constexpr int DIRECTION_SLIDER[RAY_DIRECTIONS] = {BISHOP, ROOK, BISHOP, ROOK, ROOK, BISHOP, ROOK, BISHOP};

bool attacked_by_pawn(int sq, int by) {
    // A light pawn attacks upwards (towards square 0): it stands below sq.
    const int file = sq & 7;
    const int left = by == LIGHT ? sq + 7 : sq - 9, right = by == LIGHT ? sq + 9 : sq - 7;
    auto pawn_on = [by](int s) { return s >= 0 && s < 64 && color[s] == by && piece[s] == PAWN; };
    return (file != 0 && pawn_on(left)) || (file != 7 && pawn_on(right));
}

void push_key() {
    keep_room_on_stack(1);
    rep_stack[rep_count++] = check_key;
}

void pop_key() { rep_count--; }

void move_man(int from, int to) {
    color[to] = color[from];
    piece[to] = piece[from];
    color[from] = piece[from] = EMPTY;
}

// Castling: not out of check, over empty squares, and not through or onto
// an attacked square. Returns the rook's two squares when allowed.
bool castling_allowed(int from, int to, int* rook_from, int* rook_to) {
    const int by = side ^ 1;
    if (attack(from, by)) return false;
    if (to == from + 2) {
        *rook_from = from + 3;
        *rook_to = from + 1;
        return color[from + 1] == EMPTY && color[from + 2] == EMPTY && !attack(from + 1, by) && !attack(from + 2, by);
    }
    *rook_from = from - 4;
    *rook_to = from - 1;
    return color[from - 1] == EMPTY && color[from - 2] == EMPTY && color[from - 3] == EMPTY &&
           !attack(from - 1, by) && !attack(from - 2, by);
}

}  // namespace

// A man of side `by` reaches sq: a pawn or a knight, the first man met along
// each of the eight directions when it moves that way (a bishop or queen
// diagonally, a rook or queen straight), or a king next to it. The first
// man along a direction is found in the set of taken squares.
int attack(int sq, int by) {
    if (attacked_by_pawn(sq, by)) return 1;
    for (const int8_t* j = MOVE_RAYS.jumps[sq]; *j != RAY_END; j++)
        if (color[*j] == by && piece[*j] == KNIGHT) return 1;
    const uint64_t taken = ~squares_holding(color, EMPTY);
    for (int d = 0; d < RAY_DIRECTIONS; d++) {
        const uint64_t met = MOVE_RAYS.along_set[sq][d] & taken;
        if (!met) continue;
        const int t = d >= FIRST_RISING_DIRECTION ? std::countr_zero(met) : 63 - std::countl_zero(met);
        if (color[t] != by) continue;
        const int p = piece[t];
        if (p == DIRECTION_SLIDER[d] || p == QUEEN || (p == KING && t == MOVE_RAYS.along[sq][d][0])) return 1;
    }
    return 0;
}

int in_check(int s) { return attack(s == LIGHT ? light_king_sq : dark_king_sq, s ^ 1); }

int makemove(move_bytes m) {
    // The undo records end at the last ply; a deeper line is not played.
    if (ply >= MAX_PLY - 1) return 0;
    const int from = m.from, to = m.to, bits = m.bits, c = side;
    int rook_from = -1, rook_to = -1;
    if ((bits & MF_CASTLE) && !castling_allowed(from, to, &rook_from, &rook_to)) return 0;

    hist_rec& r = hist_dat[ply];
    r.m = m;
    r.capture = static_cast<signed char>(piece[to]);
    r.castle = castle;
    r.ep = ep;
    r.fifty = fifty;

    if (rook_from >= 0) {
        toggle_man(rook_from, c, ROOK);
        toggle_man(rook_to, c, ROOK);
        move_man(rook_from, rook_to);
    }
    if (piece[to] != EMPTY) toggle_man(to, c ^ 1, piece[to]);
    toggle_man(from, c, piece[from]);
    if (bits & MF_EP) {
        const int victim = c == LIGHT ? to + 8 : to - 8;
        toggle_man(victim, c ^ 1, PAWN);
        color[victim] = piece[victim] = EMPTY;
    }
    move_man(from, to);
    if (bits & MF_PROMOTE) piece[to] = m.promote;
    toggle_man(to, c, piece[to]);
    if (piece[to] == KING) (c == LIGHT ? light_king_sq : dark_king_sq) = to;

    castle &= castle_mask[from] & castle_mask[to];
    ep = (bits & MF_DOUBLE) ? (c == LIGHT ? to + 8 : to - 8) : -1;
    fifty = (bits & (MF_CAPTURE | MF_PAWN)) ? 0 : fifty + 1;
    side ^= 1;
    xside ^= 1;
    ply++;
    push_key();
    if (in_check(c)) {
        takeback();
        return 0;
    }
    return 1;
}

void takeback() {
    pop_key();
    side ^= 1;
    xside ^= 1;
    ply--;
    const hist_rec& r = hist_dat[ply];
    ep = r.ep;
    if (r.castle == NULL_MARK) return;   // a null move left on the line by an aborted search
    castle = r.castle;
    fifty = r.fifty;
    const int from = r.m.from, to = r.m.to, bits = r.m.bits, c = side;

    toggle_man(to, c, piece[to]);
    move_man(to, from);
    if (bits & MF_PROMOTE) piece[from] = PAWN;
    toggle_man(from, c, piece[from]);
    if (piece[from] == KING) (c == LIGHT ? light_king_sq : dark_king_sq) = from;
    if (r.capture != EMPTY) {
        color[to] = c ^ 1;
        piece[to] = r.capture;
        toggle_man(to, c ^ 1, r.capture);
    }
    if (bits & MF_EP) {
        const int victim = c == LIGHT ? to + 8 : to - 8;
        color[victim] = c ^ 1;
        piece[victim] = PAWN;
        toggle_man(victim, c ^ 1, PAWN);
    }
    if (bits & MF_CASTLE) {
        const int rook_from = to == from + 2 ? from + 3 : from - 4;
        const int rook_to = to == from + 2 ? from + 1 : from - 1;
        move_man(rook_to, rook_from);
        toggle_man(rook_to, c, ROOK);
        toggle_man(rook_from, c, ROOK);
    }
}

int makenullmove() {
    if (ply < 2 || ply >= MAX_PLY - 1 || hist_dat[ply - 1].castle == NULL_MARK) return 0;
    hist_rec& r = hist_dat[ply];
    r.castle = NULL_MARK;
    r.capture = EMPTY;
    r.ep = ep;
    side ^= 1;
    xside ^= 1;
    ply++;
    ep = -1;
    push_key();
    return 1;
}

void unmakenullmove() {
    pop_key();
    side ^= 1;
    xside ^= 1;
    ply--;
    ep = hist_dat[ply].ep;
}

int key_search() { return repetition(); }
