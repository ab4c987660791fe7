// editions/v30/score.cpp: exchange estimate and ordering score of edition
// 3.0, read from the flag words of the destination and origin squares.
#include "editions/v30/score.h"
#include "bitboard/tables.h"
#include "editions/v30/gen.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "search/ordering.h"
#include "search/state.h"

namespace {

// Bands of this edition besides the shared ones of search/ordering.h.
constexpr int ORDER_EVEN_CAPTURE = 72500;       // a capture into like attackers and defenders, plus its gain
constexpr int ORDER_KING_INTO_ATTACK = -1000;   // a king move onto an attacked square comes last
constexpr int ORDER_CAPTURE_SETTLED = 5001;     // a capture scoring this much is ordered by its exchange alone

constexpr int PAWN_BIT = 1 << PAWN;
constexpr int MINOR_BITS = (1 << KNIGHT) | (1 << BISHOP);
constexpr int MINORS_AND_PAWNS = PAWN_BIT | MINOR_BITS;          // 0x07
constexpr int ALL_BUT_QUEEN_AND_KING = MINORS_AND_PAWNS | (1 << ROOK);   // 0x0F
constexpr int HEAVY_AND_KING = (1 << ROOK) | (1 << QUEEN) | (1 << KING); // 0x38
constexpr int QUEEN_AND_KING = (1 << QUEEN) | (1 << KING);                // 0x30
constexpr int ALL_BUT_PAWN = 0x3E;

bool minor_trade(int a, int b) { return (a == KNIGHT && b == BISHOP) || (a == BISHOP && b == KNIGHT); }

// A man of kind `mover` going from a square with flags (xf, sf) to one with
// (xt, st): the terms of one kind, given the enemy bits that threaten it
// whatever happens, those that threaten it when undefended, and the penalty
// and bonus for each.
struct safety_rule {
    int attacked_by, attacked_undefended, loss_to, loss_to_undefended, gain_from, gain_from_undefended;
    int own_kind_bits;
};

int safety(const safety_rule& r, int xt, int st, int xf, int sf) {
    int s = 0;
    if (xt & r.attacked_by) s -= r.loss_to;
    if ((xt & r.attacked_undefended) && !st) s -= r.loss_to_undefended;
    if (xf & r.attacked_by) s += r.gain_from;
    if ((xf & r.attacked_undefended) && !sf) s += r.gain_from_undefended;
    if (xt & r.own_kind_bits) s -= 6;
    if (xf & r.own_kind_bits) s += 6;
    return s;
}

int pawn_terms(move_bytes m, int xt, int st, int xf, int sf) {
    int s = 0;
    if (xt && !st) s -= 100;
    if (xt & PAWN_BIT) s -= 6;
    if (xt & TWO_PAWNS) s -= 100;
    if (st & TWO_PAWNS) s += 15;
    if (xf && !sf) s += 100;
    if (xf & PAWN_BIT) s += 6;
    if ((m.to & 7) == 0 || (m.to & 7) == 7) s -= 15;
    if ((m.bits & MF_DOUBLE) && !(m.bits & MF_PAWN)) s += 7;
    return s;
}

int king_terms(int xf) {
    if (xf & (PAWN_BIT | (1 << KNIGHT))) return 1000;
    return xf ? 90 : -10;
}

int quiet_terms(move_bytes m, const int* fx, const int* fs) {
    const int from = m.from, to = m.to;
    const int xt = fx[to], st = fs[to], xf = fx[from], sf = fs[from];
    const int enemy_king = side == LIGHT ? dark_king_sq : light_king_sq;
    const bool early = hash_seq < 10;
    int s = history[from * 64 + to];
    if (st & PAWN_BIT) s += 10;
    if (piece[from] == KING && xf) s += 100;
    if (m.bits & (MF_CASTLE | MF_PAWN)) s += 10;
    if ((m.bits & MF_DOUBLE) && !(m.bits & MF_PAWN)) s -= 10;
    switch (piece[from]) {
        case PAWN: return s + pawn_terms(m, xt, st, xf, sf);
        case KING: return s + king_terms(xf);
        case QUEEN:
            s += safety({ALL_BUT_QUEEN_AND_KING, QUEEN_AND_KING, 900, 900, 400, 900, 1 << QUEEN}, xt, st, xf, sf);
            if (star[to] & mask[enemy_king]) s += 10;
            return s - (early ? 2 : 0);
        case ROOK:
            s += safety({MINORS_AND_PAWNS, HEAVY_AND_KING, 500, 500, 300, 500, 1 << ROOK}, xt, st, xf, sf);
            if (cruz[to] & mask[enemy_king]) s += 10;
            return s - (early ? 1 : 0);
        case BISHOP:
            s += safety({PAWN_BIT, ALL_BUT_PAWN, 300, 300, 200, 300, MINOR_BITS}, xt, st, xf, sf);
            if (diag[to] & mask[enemy_king]) s += 10;
            return s + (early ? 3 : 0) + 2;
        default:   // knight
            s += safety({PAWN_BIT, ALL_BUT_PAWN, 300, 300, 200, 300, MINOR_BITS}, xt, st, xf, sf);
            return s + (early ? 4 : 0) + 2;
    }
}

// The ordering score, written out in the loop over a list.
[[gnu::always_inline]] inline int move_score(move_bytes m, const order_context& c) {
    const int* fx = c.fx;
    const int* fs = c.fs;
    const int from = m.from, to = m.to;
    if (piece[from] == KING && fx[to]) return ORDER_KING_INTO_ATTACK;
    if (c.table_move_known && c.table_move == m) {
        chash[CHASH_HASH_MOVE]++;
        return ORDER_HASH_MOVE;
    }
    int s = (m.bits & (MF_CAPTURE | MF_EP)) ? sce(from, to, fx[to], fs[to]) : 0;
    if (ply > 0) {
        if (killers[ply][0].m == m) return s + ORDER_KILLER;
        if (killers[ply][1].m == m) return s + ORDER_KILLER - 1;
    }
    if (s >= ORDER_CAPTURE_SETTLED || hash_ix == 0) return s;
    if (m.bits & MF_PROMOTE) {
        const int t = s + piece_value[int(m.promote)];
        return fx[to] > 0 && fs[to] == PAWN_BIT ? t : t + ORDER_SAFE_PROMOTION;
    }
    return s + quiet_terms(m, fx, fs);
}

}  // namespace

int sce(int from, int to, int fx, int fs) {
    // An en passant capture takes a pawn from an empty square.
    const int cap = piece[to] == EMPTY ? PAWN : piece[to];
    const int mov = piece[from];
    const int d = piece_value[cap] - piece_value[mov];
    if (mov == KING || fx == 0) return piece_value[cap] + ORDER_WINNING_CAPTURE;
    if (mov > cap && !(mov == BISHOP && cap == KNIGHT)) {
        int s;
        const bool risky = fs == (1 << mov) || ((fx & PAWN_BIT) && mov != PAWN) ||
                           (mov == ROOK && (fx & MINORS_AND_PAWNS)) ||
                           (mov == QUEEN && (fx & ALL_BUT_QUEEN_AND_KING));
        if (risky) s = d;
        else if (fx == fs) s = d + ORDER_EVEN_CAPTURE;
        else s = d + ORDER_WINNING_CAPTURE;
        if (cap == PAWN && (mask[to] & (light_passed | dark_passed))) s += 15;
        return s;
    }
    if (mov != cap && !minor_trade(mov, cap)) return d + ORDER_WINNING_CAPTURE;
    int s = (fx & TWO_PAWNS) ? d : d + ORDER_WINNING_CAPTURE;
    if (fs & TWO_PAWNS) s += 30;
    return s;
}

order_context order_context_for(const int* flags_x, const int* flags_s) {
    order_context c{flags_x, flags_s, false, move_bytes{}};
    if (hash_ix != 0) {
        const hash_entry e = read_slot(&hash_table[hash_ix]);
        if (e.checksum == master_checksum && e.depth >= 2) {
            c.table_move_known = true;
            c.table_move = e.move;
        }
    }
    return c;
}

int scoring(move_bytes m, const order_context& c) { return move_score(m, c); }

void score_moves(int begin, int end, const order_context& c) {
    for (int i = begin; i < end; i++) gen_dat[i].score = move_score(gen_dat[i].m, c);
}

int capture_order(move_bytes m, int xt, int st) {
    if (piece[int(m.from)] == KING && xt) return ORDER_KING_INTO_ATTACK;
    const int s = (m.bits & (MF_CAPTURE | MF_EP)) ? sce(m.from, m.to, xt, st) : 0;
    if (ply > 0) {
        if (killers[ply][0].m == m) return s + ORDER_KILLER;
        if (killers[ply][1].m == m) return s + ORDER_KILLER - 1;
    }
    return s;
}

int scoring(move_bytes m, const int* flags_x, const int* flags_s) {
    return scoring(m, order_context_for(flags_x, flags_s));
}
