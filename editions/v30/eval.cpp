// editions/v30/eval.cpp: edition 3.0's evaluation driver. Material lives in
// the two cached scores (pawns and pieces); after the lazy exit the
// placement, rook, king and development terms are charged to each side.
#include "eval/eval.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "hash/evalcache.h"
#include "search/state.h"

const int piece_value[6] = {100, 300, 320, 500, 900, 10000};
// The FEN reader still sums it at set-up; this edition counts material in
// the cached pawn and piece scores and never reads it.
constinit thread_local int material_balance{};
constinit thread_local int is_endgame{};

namespace {

constexpr int LAZY_MARGIN = 120;

// One side's men, and what its terms are measured against.
struct side_men {
    bool light;
    BitBoard pawns, knights, bishops, rooks, queens, occupied;
    BitBoard first_rank;       // where its minor pieces and queens start
    BitBoard ahead_of_pawns;   // the squares directly in front of its pawns
    BitBoard own_open;         // files without its pawns
    BitBoard enemy_rooks;
    int enemy_king;
};

side_men light_men() {
    return {true, light_pawns, light_knights, light_bishops, light_rooks, light_queens, light_occupied,
            filas[7], light_pawns >> 8, light_open_columns, dark_rooks, dark_king_sq};
}

side_men dark_men() {
    return {false, dark_pawns, dark_knights, dark_bishops, dark_rooks, dark_queens, dark_occupied,
            filas[0], dark_pawns << 8, dark_open_columns, light_rooks, light_king_sq};
}

int development(const side_men& m) {
    const BitBoard out = ~m.first_rank;
    return 4 * PopCnt(m.knights & out) + 3 * PopCnt(m.bishops & out) + PopCnt(m.queens & out);
}

// Two rooks on one rank or file with nothing between them.
bool rooks_see_each_other(BitBoard rooks) {
    if (PopCnt(rooks) != 2) return false;
    const int a = BBf(rooks), b = BBlast(rooks);
    const bool same_line = (a >> 3) == (b >> 3) || (a & 7) == (b & 7);
    return same_line && !(entre[a][b] & ~empty_squares);
}

int rook_terms(const side_men& m) {
    if (!m.rooks) return -7;
    int s = rooks_see_each_other(m.rooks) ? 10 : 0;
    s += 8 * PopCnt(m.rooks & m.own_open);
    s += 12 * PopCnt(m.rooks & light_open_columns & dark_open_columns);
    return s;
}

// With few pieces left the bishops and rooks gain against the knights.
int endgame_pieces(const side_men& m) {
    return -10 * PopCnt(m.knights) + 10 * PopCnt(m.bishops) + 30 * PopCnt(m.rooks);
}

// Table values, men crowding the pieces' nearest squares, and lines into the
// area of the enemy king. The diagonal terms are a bishop's alone: a queen
// takes the bishop table and the rook terms.
int placement(const side_men& m) {
    auto table_sq = [&m](int sq) { return m.light ? sq : flip[sq]; };
    const BitBoard zone = king_area[m.enemy_king];
    int s = 0;
    for (BitBoard n = m.knights; n; n &= n - 1) {
        const int sq = BBf(n);
        s += knight_pcsq[table_sq(sq)] + ((knight_moves[sq] & zone) ? 5 : 0);
    }
    for (BitBoard b = m.bishops | m.queens; b; b &= b - 1) s += bishop_pcsq[table_sq(BBf(b))];
    for (BitBoard b = m.bishops; b; b &= b - 1) {
        const int sq = BBf(b);
        s += 3 * PopCnt(m.enemy_rooks & diag[sq]) - 4 * PopCnt(m.occupied & diag[sq] & king_moves[sq]);
        if (diag[sq] & zone) s += 5;
    }
    for (BitBoard r = m.rooks | m.queens; r; r &= r - 1) {
        const int sq = BBf(r);
        s -= 4 * PopCnt(m.occupied & cruz[sq] & king_moves[sq]);
        if (cruz[sq] & zone) s += 5;
    }
    return s;
}

// Everything charged to one side after the lazy exit, but the blocked pawns
// and the king.
int account(const side_men& m) {
    int s = development(m);
    s -= 9 * PopCnt((m.occupied & ~m.pawns) & m.ahead_of_pawns);   // own men in front of own pawns
    s += rook_terms(m);
    if (is_endgame) s += endgame_pieces(m);
    return s + placement(m);
}

// Pawns with an enemy pawn directly in front, charged only to the side the
// engine plays: the term steers the engine away from locking its own pawns.
int blocked_charge(bool light) {
    if (computer_side != (light ? LIGHT : DARK)) return 0;
    const BitBoard rammed = light ? light_pawns & (dark_pawns << 8) : dark_pawns & (light_pawns >> 8);
    return -4 * PopCnt(rammed);
}

}  // namespace

int endgame() {
    const BitBoard pieces = computer_side == LIGHT ? dark_pieces : light_pieces;
    const int phase = PopCnt(pieces) <= 3 ? 1 : 0;
    // The cached pawn scores belong to the old phase.
    if (phase != is_endgame) clear_p_hash();
    return phase;
}

int eval(int alpha, int beta) {
    chash[CHASH_EVALS_AND_NULL_CUTOFFS]++;
    const int s = eval_pieces() + eval_pawns();
    const int view = side == LIGHT ? s : -s;
    if (view > beta + LAZY_MARGIN || view < alpha - LAZY_MARGIN) return view;

    const side_men L = light_men(), D = dark_men();
    // From here on each term is charged to the side it concerns.
    const int light = (s > 0 ? s : 0) + account(L) + blocked_charge(true) + eval_light_king(light_king_sq);
    const int dark = (s > 0 ? 0 : -s) + account(D) + blocked_charge(false) + eval_dark_king(dark_king_sq);
    return side == LIGHT ? light - dark : dark - light;
}
