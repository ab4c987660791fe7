// eval/pawns.cpp: pawn structure terms.
#include "eval/pawns.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include <cstdlib>

constinit thread_local BitBoard light_passed{}, dark_passed{};

namespace {

int row_of(int sq) { return sq >> 3; }

// Files b to g: the a- and h-files take no part in some terms.
BitBoard inner_files() { return ~(columnas[0] | columnas[7]); }
BitBoard edge_files() { return columnas[0] | columnas[7]; }

// The files beside the file of sq.
BitBoard neighbour_files(int sq) {
    const int f = sq & 7;
    return (f > 0 ? columnas[f - 1] : 0) | (f < 7 ? columnas[f + 1] : 0);
}

int count_on_rank(BitBoard set, int rank) { return PopCnt(set & filas[8 - rank]); }

int isolated_count(BitBoard pawns) {
    int n = 0;
    for (BitBoard p = pawns; p; p &= p - 1)
        if (!(pawns & neighbour_files(BBf(p)))) n++;
    return n;
}

int doubled_count(BitBoard pawns) {
    int n = 0;
    for (BitBoard p = pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (pawns & columnas[sq & 7] & ~mask[sq]) n++;
    }
    return n;
}

// 0 without pawns, else one more than the files holding none of them.
int islands_count(BitBoard pawns) {
    if (!pawns) return 0;
    int n = 1;
    for (int f = 0; f < 8; f++)
        if (!(pawns & columnas[f])) n++;
    return n;
}

// Pawns of one side on files b to g: backward (nothing beside or behind
// them) and unsupported (nothing behind them). `behind` is the table of the
// other colour, the pawn's rear span.
void backward_sets(BitBoard pawns, const BitBoard* behind, BitBoard* backward, BitBoard* unsupported) {
    *backward = *unsupported = 0;
    for (BitBoard p = pawns & inner_files(); p; p &= p - 1) {
        const int sq = BBf(p);
        if (pawns & behind[sq]) continue;
        *unsupported |= mask[sq];
        if (!(pawns & sider[sq])) *backward |= mask[sq];
    }
}

}  // namespace

int delta_pawns(BitBoard p) {
    return 2 * std::abs(PopCnt(p & light_squares) - PopCnt(p & dark_squares));
}

int chain_space() {
    int s = 0;
    for (BitBoard p = light_pawns & inner_files(); p; p &= p - 1) s += 7 - row_of(BBf(p));
    for (BitBoard p = dark_pawns & inner_files(); p; p &= p - 1) s -= row_of(BBf(p));
    return 4 * s;
}

int passed_pawns() {
    light_passed = dark_passed = 0;
    for (BitBoard p = light_pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (!(dark_pawns & horizonte[LIGHT][sq])) light_passed |= mask[sq];
    }
    for (BitBoard p = dark_pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (!(light_pawns & horizonte[DARK][sq])) dark_passed |= mask[sq];
    }
    const BitBoard lp = light_passed, dp = dark_passed;
    int s = 10 * (count_on_rank(lp, 5) - count_on_rank(dp, 4)) +
            20 * (count_on_rank(lp, 6) - count_on_rank(dp, 3)) +
            40 * (count_on_rank(lp, 7) - count_on_rank(dp, 2)) +
            15 * (PopCnt(lp & edge_files()) - PopCnt(dp & edge_files())) +
            40 * (count_on_rank(lp, 6) + count_on_rank(lp, 7) - count_on_rank(dp, 2) - count_on_rank(dp, 3));
    if (PopCnt(lp) > 1) s += 30;
    if (PopCnt(dp) > 1) s -= 30;
    return is_endgame ? 2 * s : s;
}

int isolated_pawns() { return -6 * (isolated_count(light_pawns) - isolated_count(dark_pawns)); }

int islands_pawns() { return 3 * (islands_count(dark_pawns) - islands_count(light_pawns)); }

int doubled_pawns() { return -7 * (doubled_count(light_pawns) - doubled_count(dark_pawns)); }

int backward_pawns() {
    BitBoard lb, lx, db, dx;
    backward_sets(light_pawns, horizonte[DARK], &lb, &lx);
    backward_sets(dark_pawns, horizonte[LIGHT], &db, &dx);
    return -12 * (PopCnt(lb) - PopCnt(db)) - 5 * (PopCnt(lx) - PopCnt(dx)) -
           12 * (PopCnt(lb & dark_open_columns) - PopCnt(db & light_open_columns)) -
           10 * (count_on_rank(lb, 2) - count_on_rank(db, 7)) -
           7 * (count_on_rank(lb, 3) - count_on_rank(db, 6));
}

int central_pawns() {
    const BitBoard centre_files = columnas[3] | columnas[4];
    const BitBoard light_advanced = mask[D5] | mask[E5] | mask[D6] | mask[E6];
    // Dark's advanced squares are its third and second ranks: the two sides
    // are deliberately not mirror images here.
    const BitBoard dark_advanced = mask[D3] | mask[E3] | mask[D2] | mask[E2];
    return 2 * PopCnt(light_pawns & centre_files) + 3 * PopCnt(light_pawns & light_advanced) +
           2 * PopCnt(central_squares & light_pawn_attacked) - 2 * PopCnt(dark_pawns & centre_files) -
           3 * PopCnt(dark_pawns & dark_advanced) - 2 * PopCnt(central_squares & dark_pawn_attacked);
}

int eval_pawns() {
    if (!(light_pawns | dark_pawns)) return 0;
    int s;
    if (hp_probe(&s)) return s;
    s = 0;
    if (!dark_pawns) s += 15;
    if (!light_pawns) s -= 15;
    s -= 8 * PopCnt(light_pawns & (mask[D2] | mask[E2]));
    s += 8 * PopCnt(dark_pawns & (mask[D7] | mask[E7]));
    s += 3 * (PopCnt(light_pawn_attacked) - PopCnt(dark_pawn_attacked));
    s += delta_pawns(light_pawns) - delta_pawns(dark_pawns);
    s += chain_space() + passed_pawns() + isolated_pawns() + doubled_pawns() + backward_pawns() +
         central_pawns() + islands_pawns();
    hp_update(s);
    return s;
}
