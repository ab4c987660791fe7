// moves/make.cpp: makemove, takeback, null moves and the repetition test.
// makemove snapshots the incremental state first, so takeback restores the
// sets, keys and counters by copying and undoes only the board arrays.
#include "moves/make.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "moves/attack.h"

constinit thread_local BitBoard team_moving{};

namespace {


void save_state(hist_rec& r) {
    r.checksum = master_checksum;
    r.pawn_key = master_pawn;
    r.material_key = master_material;
    r.light_occupied = light_occupied;
    r.dark_occupied = dark_occupied;
    r.material_balance = material_balance;
    r.dark_king_sq = static_cast<signed char>(dark_king_sq);
    r.light_king_sq = static_cast<signed char>(light_king_sq);
    r.dark_pawns = dark_pawns;
    r.light_pawns = light_pawns;
    r.dark_pawn_attacked = dark_pawn_attacked;
    r.light_pawn_attacked = light_pawn_attacked;
    r.dark_open_columns = dark_open_columns;
    r.light_open_columns = light_open_columns;
    r.light_bishops = light_bishops;
    r.dark_bishops = dark_bishops;
    r.light_knights = light_knights;
    r.dark_knights = dark_knights;
    r.light_rooks = light_rooks;
    r.dark_rooks = dark_rooks;
    r.light_queens = light_queens;
    r.dark_queens = dark_queens;
    r.casillas_ocupadas = casillas_ocupadas;
    r.casillas_ocupadas_90R = casillas_ocupadas_90R;
}

void restore_state(const hist_rec& r) {
    master_checksum = r.checksum;
    master_pawn = r.pawn_key;
    master_material = r.material_key;
    light_occupied = r.light_occupied;
    dark_occupied = r.dark_occupied;
    material_balance = r.material_balance;
    dark_king_sq = r.dark_king_sq;
    light_king_sq = r.light_king_sq;
    dark_pawns = r.dark_pawns;
    light_pawns = r.light_pawns;
    dark_pawn_attacked = r.dark_pawn_attacked;
    light_pawn_attacked = r.light_pawn_attacked;
    dark_open_columns = r.dark_open_columns;
    light_open_columns = r.light_open_columns;
    light_bishops = r.light_bishops;
    dark_bishops = r.dark_bishops;
    light_knights = r.light_knights;
    dark_knights = r.dark_knights;
    light_rooks = r.light_rooks;
    dark_rooks = r.dark_rooks;
    light_queens = r.light_queens;
    dark_queens = r.dark_queens;
    casillas_ocupadas = r.casillas_ocupadas;
    casillas_ocupadas_90R = r.casillas_ocupadas_90R;
}

void derive_sets() {
    derive_piece_sets();
    team_moving = side == LIGHT ? light_occupied : dark_occupied;
}

// Square of the rook a castling king move takes along, and where it goes.
void castling_rook(int king_to, int* rook_from, int* rook_to) {
    if ((king_to & 7) == 6) {
        *rook_from = king_to + 1;
        *rook_to = king_to - 1;
    } else {
        *rook_from = king_to - 2;
        *rook_to = king_to + 1;
    }
}

void toggle_occupancy(int sq) {
    casillas_ocupadas ^= mask[sq];
    casillas_ocupadas_90R ^= mask[rotator90R[sq]];
}

void move_castling_rook(int c, int king_to) {
    int rf, rt;
    castling_rook(king_to, &rf, &rt);
    color[rt] = color[rf];
    piece[rt] = piece[rf];
    toggle_piece_key(rf, c, ROOK);
    toggle_piece_key(rt, c, ROOK);
    (c == LIGHT ? light_rooks : dark_rooks) ^= mask[rf] | mask[rt];
    color[rf] = piece[rf] = EMPTY;
    toggle_occupancy(rf);
    toggle_occupancy(rt);
}

void update_occupancy(int c, int from, int to, int bits) {
    casillas_ocupadas = (casillas_ocupadas ^ mask[from]) | mask[to];
    casillas_ocupadas_90R = (casillas_ocupadas_90R ^ mask[rotator90R[from]]) | mask[rotator90R[to]];
    const bool light = c == LIGHT;
    BitBoard& own = light ? light_occupied : dark_occupied;
    BitBoard& other = light ? dark_occupied : light_occupied;
    if (piece[from] == KING) (light ? light_king_sq : dark_king_sq) = to;
    own ^= mask[from] ^ mask[to];
    other &= ~mask[to];
    if (bits & MF_EP) {
        const int victim = light ? ep + 8 : ep - 8;
        other ^= mask[victim];
        toggle_occupancy(victim);
    } else if (bits & MF_CASTLE) {
        if (to == C1) own ^= A1D1;
        else if (to == G1) own ^= H1F1;
        else if (to == C8) own ^= A8D8;
        else if (to == G8) own ^= H8F8;
    }
    empty_squares = ~(light_occupied | dark_occupied);
}

}  // namespace

int makemove(move_bytes m) {
    // The undo records end at the last ply; a deeper line is not played.
    if (ply >= MAX_PLY - 1) return 0;
    const int from = m.from, to = m.to, bits = m.bits, c = side;
    hist_rec& r = hist_dat[ply];
    save_state(r);
    if (bits & MF_CASTLE) move_castling_rook(c, to);
    update_occupancy(c, from, to, bits);
    if ((bits & MF_CAPTURE) && piece[to] != EMPTY) modif_piece(color[to], piece[to], to, 1);

    toggle_piece_key(from, c, piece[from]);
    if (piece[to] != EMPTY) {
        toggle_piece_key(to, color[to], piece[to]);
        material_balance += c == LIGHT ? piece_value[piece[to]] : -piece_value[piece[to]];
    }

    ply++;
    r.m = m;
    r.capture = static_cast<signed char>(piece[to]);
    r.castle = castle;
    r.ep = ep;
    r.fifty = fifty;

    castle &= castle_mask[from] & castle_mask[to];
    ep = (bits & MF_DOUBLE) ? (c == LIGHT ? to + 8 : to - 8) : -1;
    fifty = (bits & (MF_CAPTURE | MF_DOUBLE | MF_PAWN)) ? 0 : fifty + 1;

    const int mover = piece[from];
    const bool promotes = bits & MF_PROMOTE;
    color[to] = c;
    piece[to] = promotes ? m.promote : mover;
    if (mover == PAWN) {
        if (!promotes) modif_peon(c, to, 0);
        modif_peon(c, from, 1);
    } else {
        modif_piece(c, mover, from, 1);
        modif_piece(c, mover, to, 0);
    }
    if (promotes) {
        const int gain = piece_value[int(m.promote)] - piece_value[PAWN];
        material_balance += c == LIGHT ? gain : -gain;
        modif_piece(c, m.promote, to, 0);
    }
    toggle_piece_key(to, c, piece[to]);
    color[from] = piece[from] = EMPTY;

    if (bits & MF_EP) {
        const int victim = c == LIGHT ? to + 8 : to - 8;
        modif_peon(c ^ 1, victim, 1);
        toggle_piece_key(victim, c ^ 1, PAWN);
        color[victim] = piece[victim] = EMPTY;
        material_balance += c == LIGHT ? piece_value[PAWN] : -piece_value[PAWN];
    }

    side ^= 1;
    xside ^= 1;
    if (attack(c == LIGHT ? light_king_sq : dark_king_sq, side)) {
        takeback();
        return 0;
    }
    derive_sets();
    return 1;
}

void takeback() {
    side ^= 1;
    xside ^= 1;
    ply--;
    const hist_rec& r = hist_dat[ply];
    restore_state(r);
    ep = r.ep;
    if (r.castle & NULL_MARK) return;

    castle = r.castle;
    fifty = r.fifty;
    empty_squares = ~(dark_occupied | light_occupied);
    const int from = r.m.from, to = r.m.to;
    color[from] = side;
    piece[from] = (r.m.bits & MF_PROMOTE) ? PAWN : piece[to];
    piece[to] = r.capture;
    color[to] = r.capture == EMPTY ? EMPTY : xside;
    if (r.m.bits & MF_CASTLE) {
        int rf, rt;
        castling_rook(to, &rf, &rt);
        color[rf] = side;
        piece[rf] = ROOK;
        color[rt] = piece[rt] = EMPTY;
    }
    if (r.m.bits & MF_EP) {
        const int victim = side == LIGHT ? to + 8 : to - 8;
        color[victim] = xside;
        piece[victim] = PAWN;
    }
    derive_sets();
}

int makenullmove() {
    if (ply < 2 || ply > 12 || (hist_dat[ply - 1].castle & NULL_MARK)) return 0;
    hist_rec& r = hist_dat[ply];
    r.ep = ep;
    r.castle |= NULL_MARK;
    r.capture = EMPTY;
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
    hist_dat[ply].castle &= ~NULL_MARK;
}

int key_search() {
    if (ply == 0) return 0;   // no move led here within the search
    const int irreversible = MF_CAPTURE | MF_CASTLE | MF_EP | MF_DOUBLE | MF_PAWN | MF_PROMOTE;
    if (hist_dat[ply - 1].m.bits & irreversible) return 0;
    int count = 0;
    for (int k = 0; k < ply; k++)
        if (hist_dat[k].checksum == master_checksum) count++;
    if (undos > 10 && count <= 1)
        for (int k = undos - 10; k < undos; k++)
            if (undo_dat[k].checksum == master_checksum) count++;
    return count > 1;
}
