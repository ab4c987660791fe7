// editions/v30/make.cpp: making and taking back moves set by set, null
// moves, and the repetition test of edition 3.0. The undo record keeps the
// move, the captured kind, the rights, ep, the fifty counter and the key of
// the position the move reached.
#include "editions/v30/make.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "hash/keys.h"
#include "moves/attack.h"

constinit thread_local BitBoard team_moving{};

namespace {


// The rook that a castling king move takes along, given the king's two
// squares in either order (making or taking back).
bool castling_rook(int a, int b, int* rook_from, int* rook_to) {
    const int home = (a == E1 || a == E8) ? a : b;
    const int dest = home == a ? b : a;
    if (home != E1 && home != E8) return false;
    if (dest == home + 2) {
        *rook_from = home + 3;
        *rook_to = home + 1;
        return true;
    }
    if (dest == home - 2) {
        *rook_from = home - 4;
        *rook_to = home - 1;
        return true;
    }
    return false;
}

// The sets this edition derives from the kept ones after every move.
void derive_sets() {
    light_pieces = light_occupied ^ light_pawns;
    dark_pieces = dark_occupied ^ dark_pawns;
    team_moving = side == LIGHT ? light_occupied : dark_occupied;
}

void move_man(int from, int to) {
    color[to] = color[from];
    piece[to] = piece[from];
    color[from] = piece[from] = EMPTY;
}

// The work of w_update, written out in makemove and takeback, where `undo`
// is a constant.
[[gnu::always_inline]] inline void update_sets(int from, int to, int bits, int ep_square, int undo) {
    const bool light = side == LIGHT;
    BitBoard& own = light ? light_occupied : dark_occupied;
    BitBoard& other = light ? dark_occupied : light_occupied;
    if (piece[from] == KING) (light ? light_king_sq : dark_king_sq) = to;
    own ^= mask[from] ^ mask[to];
    other &= ~mask[to];
    if (undo && (bits & MF_CAPTURE) && !(bits & MF_EP)) other |= mask[from];
    if (bits & MF_EP) other ^= mask[light ? ep_square + 8 : ep_square - 8];
    int rook_from, rook_to;
    if ((bits & MF_CASTLE) && castling_rook(from, to, &rook_from, &rook_to)) own ^= mask[rook_from] ^ mask[rook_to];
    empty_squares = ~(light_occupied | dark_occupied);
    casillas_ocupadas = ~empty_squares;   // the shared attack test reads it
}

}  // namespace

void w_update(int from, int to, int bits, int ep_square, int undo) { update_sets(from, to, bits, ep_square, undo); }

int makemove(move_bytes m) {
    // The undo records end at the last ply; a deeper line is not played.
    if (ply >= MAX_PLY - 1) return 0;
    const int from = m.from, to = m.to, bits = m.bits, c = side;
    hist_rec& r = hist_dat[ply];
    r.m = m;
    r.capture = static_cast<signed char>(piece[to]);
    r.castle = castle;
    r.ep = ep;
    r.fifty = fifty;

    // Keys first, with the ep square before the move; the board after.
    toggle_piece_key(from, c, piece[from]);
    if (piece[to] != EMPTY) {
        toggle_piece_key(to, c ^ 1, piece[to]);
        modif_piece(c ^ 1, piece[to], to, 1);
    }
    update_sets(from, to, bits, ep, 0);
    int rook_from, rook_to;
    if ((bits & MF_CASTLE) && castling_rook(from, to, &rook_from, &rook_to)) {
        toggle_piece_key(rook_from, c, ROOK);
        toggle_piece_key(rook_to, c, ROOK);
        modif_torre(c, rook_from, 1);
        modif_torre(c, rook_to, 0);
        move_man(rook_from, rook_to);
    }
    const int old_ep = ep;
    castle &= castle_mask[from] & castle_mask[to];
    ep = (bits & MF_DOUBLE) ? (c == LIGHT ? to + 8 : to - 8) : -1;
    fifty = (bits & (MF_CAPTURE | MF_DOUBLE | MF_PAWN)) ? 0 : fifty + 1;

    const int mover = piece[from];
    modif_piece(c, mover, from, 1);
    move_man(from, to);
    if (bits & MF_PROMOTE) piece[to] = m.promote;
    modif_piece(c, piece[to], to, 0);
    toggle_piece_key(to, c, piece[to]);
    if (bits & MF_EP) {
        const int victim = c == LIGHT ? old_ep + 8 : old_ep - 8;
        modif_peon(c ^ 1, victim, 1);
        toggle_piece_key(victim, c ^ 1, PAWN);
        color[victim] = piece[victim] = EMPTY;
    }

    side ^= 1;
    xside ^= 1;
    ply++;
    if (attack(c == LIGHT ? light_king_sq : dark_king_sq, side)) {
        takeback();
        return 0;
    }
    r.checksum = master_checksum;
    derive_sets();
    return 1;
}

void takeback() {
    side ^= 1;
    xside ^= 1;
    ply--;
    const hist_rec& r = hist_dat[ply];
    if (r.castle == NULL_MARK) {   // a null move left on the line by an aborted search
        ep = r.ep;
        return;
    }
    const int from = r.m.from, to = r.m.to, bits = r.m.bits, c = side;
    // The toggles of the man on `to` and of a pawn taken en passant were made
    // with the ep square after the move: undo them while it still stands.
    toggle_piece_key(to, c, piece[to]);
    if (bits & MF_EP) {
        const int victim = c == LIGHT ? r.ep + 8 : r.ep - 8;
        toggle_piece_key(victim, c ^ 1, PAWN);
        color[victim] = c ^ 1;
        piece[victim] = PAWN;
        modif_peon(c ^ 1, victim, 0);
    }
    ep = r.ep;
    castle = r.castle;
    fifty = r.fifty;

    modif_piece(c, piece[to], to, 1);
    update_sets(to, from, bits, r.ep, 1);
    move_man(to, from);
    if (bits & MF_PROMOTE) piece[from] = PAWN;
    modif_piece(c, piece[from], from, 0);
    toggle_piece_key(from, c, piece[from]);
    if (r.capture != EMPTY) {
        color[to] = c ^ 1;
        piece[to] = r.capture;
        modif_piece(c ^ 1, r.capture, to, 0);
        toggle_piece_key(to, c ^ 1, r.capture);
    }
    int rook_from, rook_to;
    if ((bits & MF_CASTLE) && castling_rook(from, to, &rook_from, &rook_to)) {
        toggle_piece_key(rook_to, c, ROOK);
        toggle_piece_key(rook_from, c, ROOK);
        modif_torre(c, rook_to, 1);
        modif_torre(c, rook_from, 0);
        move_man(rook_to, rook_from);
    }
    derive_sets();
}

int makenullmove() {
    if (ply < 2 || ply > 12 || hist_dat[ply - 1].castle == NULL_MARK) return 0;
    hist_rec& r = hist_dat[ply];
    r.castle = NULL_MARK;
    r.capture = EMPTY;
    r.ep = ep;
    side ^= 1;
    xside ^= 1;
    ply++;
    ep = -1;
    return 1;
}

void unmakenullmove() {
    side ^= 1;
    xside ^= 1;
    ply--;
    ep = hist_dat[ply].ep;
}

int key_search() {
    int count = 0;
    for (int k = 0; k < ply; k++)
        if (hist_dat[k].checksum == master_checksum) count++;
    if (undos > 10 && count <= 1)
        for (int k = undos - 10; k < undos; k++)
            if (undo_dat[k].checksum == master_checksum) count++;
    return count > 1;
}
