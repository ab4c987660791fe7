// editions/v23/gen.cpp: edition 2.3's mailbox move generation: every man of
// the side to move, a8 to h1, stepping through the 10 x 12 frame.
#include "editions/v23/moves23.h"
#include "board/position.h"
#include "moves/gen.h"

namespace {

void push(int from, int to, int promote, int bits) {
    if (gen_end[ply] >= GEN_STACK) return;   // a set-up position with more men than a game can have
    gen_dat[gen_end[ply]++] = gen_rec{move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)}, 0};
}

// A pawn move onto the last rank comes as four promotions, knight first.
void push_pawn(int from, int to, int bits) {
    if (to < 8 || to > 55) {
        for (int p = KNIGHT; p <= QUEEN; p++) push(from, to, p, bits | MF_PROMOTE);
    } else {
        push(from, to, 0, bits);
    }
}

void piece_moves(int sq, bool captures_only) {
    const int kind = piece[sq];
    const bool slides = kind == BISHOP || kind == ROOK || kind == QUEEN;
    for (int i = 0; i < offsets[kind]; i++) {
        for (int t = mailbox[mailbox64[sq] + offset[kind][i]]; t != -1; t = mailbox[mailbox64[t] + offset[kind][i]]) {
            if (color[t] != EMPTY) {
                if (color[t] == xside) push(sq, t, 0, MF_CAPTURE);
                break;
            }
            if (!captures_only) push(sq, t, 0, 0);
            if (!slides) break;
        }
    }
}

void pawn_moves(int sq, bool captures_only) {
    const int file = sq & 7;
    const bool light = side == LIGHT;
    const int left = light ? sq - 9 : sq + 7, right = light ? sq - 7 : sq + 9;
    if (file != 0 && color[left] == xside) push_pawn(sq, left, MF_PAWN | MF_CAPTURE);
    if (file != 7 && color[right] == xside) push_pawn(sq, right, MF_PAWN | MF_CAPTURE);
    if (captures_only) return;
    const int step = light ? sq - 8 : sq + 8;
    if (color[step] != EMPTY) return;
    push_pawn(sq, step, MF_PAWN);
    const int start_row = light ? 6 : 1;
    const int twice = light ? sq - 16 : sq + 16;
    if ((sq >> 3) == start_row && color[twice] == EMPTY) push(sq, twice, 0, MF_PAWN | MF_DOUBLE);
}

// Castling is offered with the right, the king at home and the rook on its
// corner; whether it is legal is decided when it is made.
void castling() {
    const int home = side == LIGHT ? E1 : E8;
    if (piece[home] != KING || color[home] != side) return;
    const int short_right = side == LIGHT ? CASTLE_LIGHT_SHORT : CASTLE_DARK_SHORT;
    const int long_right = side == LIGHT ? CASTLE_LIGHT_LONG : CASTLE_DARK_LONG;
    auto own_rook = [](int sq) { return piece[sq] == ROOK && color[sq] == side; };
    if ((castle & short_right) && own_rook(home + 3)) push(home, home + 2, 0, MF_CASTLE);
    if ((castle & long_right) && own_rook(home - 4)) push(home, home - 2, 0, MF_CASTLE);
}

// Own pawns diagonally behind the en passant square take onto it.
void en_passant() {
    if (ep == -1) return;
    const bool light = side == LIGHT;
    const int from_left = light ? ep + 7 : ep - 9, from_right = light ? ep + 9 : ep - 7;
    if ((ep & 7) != 0 && color[from_left] == side && piece[from_left] == PAWN)
        push(from_left, ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
    if ((ep & 7) != 7 && color[from_right] == side && piece[from_right] == PAWN)
        push(from_right, ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
}

void generate(bool captures_only) {
    gen_end[ply] = gen_begin[ply];
    for (int sq = 0; sq < 64; sq++) {
        if (color[sq] != side) continue;
        if (piece[sq] == PAWN) pawn_moves(sq, captures_only);
        else piece_moves(sq, captures_only);
    }
    if (!captures_only) castling();
    en_passant();
    gen_begin[ply + 1] = gen_end[ply];
}

}  // namespace

void Move2Gen() { generate(false); }

void gen_captures() { generate(true); }
