// editions/v30/pawns.cpp: edition 3.0's pawn structure, pawn material
// included, cached in the pawn table under master_pawn.
#include "eval/pawns.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "editions/v30/eval30.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include <cstdlib>

constinit thread_local BitBoard light_passed{}, dark_passed{};
constinit thread_local BitBoard light_isolated{}, dark_isolated{};

// Rank 4 is not symmetric: f4 is worth 6 where c4 is worth 7.
const int pawn_pcsq[64] = {
     0,  0,  0,  0,  0,  0,  0,  0,
    25, 30, 30, 30, 30, 30, 30, 25,
     6,  8, 12, 16, 16, 12,  8,  6,
     3,  6,  9, 12, 12,  9,  6,  3,
     2,  4,  7, 10, 10,  6,  4,  2,
     1,  1,  1,  2,  2,  1,  1,  1,
     0,  0,  0, -2, -2,  0,  0,  0,
     0,  0,  0,  0,  0,  0,  0,  0,
};

const int center_factor[8] = {7, 6, 1, 0, 0, 1, 6, 7};

namespace {

// Files b to g: the edge pawns take no part in chain space and backwardness.
BitBoard inner_files() { return ~(columnas[0] | columnas[7]); }

// Members of set on a rank given by its number, 1 to 8.
int on_rank(BitBoard set, int rank) { return PopCnt(set & filas[8 - rank]); }

// Every square of every file that holds a member of set.
BitBoard file_fill(BitBoard set) {
    set |= set << 8;
    set |= set << 16;
    set |= set << 32;
    set |= set >> 8;
    set |= set >> 16;
    return set | set >> 32;
}

// Pawns of one side with no pawn of their side on a neighbouring file.
BitBoard isolated_set(BitBoard pawns) {
    const BitBoard files = file_fill(pawns);
    const BitBoard beside = ((files & ~columnas[7]) << 1) | ((files & ~columnas[0]) >> 1);
    return pawns & ~beside;
}

// Pawns of one side with no pawn of the other side in their front span.
BitBoard passed_set(BitBoard pawns, BitBoard enemy, const BitBoard* ahead) {
    BitBoard set = 0;
    for (BitBoard p = pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (!(enemy & ahead[sq])) set |= mask[sq];
    }
    return set;
}

// Pawns on files b to g with no pawn of their side beside them or in their
// rear span (`behind` is the table of the other colour).
BitBoard backward_set(BitBoard pawns, const BitBoard* behind) {
    BitBoard set = 0;
    for (BitBoard p = pawns & inner_files(); p; p &= p - 1) {
        const int sq = BBf(p);
        if (!(pawns & (behind[sq] | sider[sq]))) set |= mask[sq];
    }
    return set;
}

int doubled_count(BitBoard pawns) {
    int n = 0;
    for (int f = 0; f < 8; f++) {
        const int on_file = PopCnt(pawns & columnas[f]);
        if (on_file > 1) n += on_file;
    }
    return n;
}

// Table value less the distance from the centre files, per pawn.
int placement() {
    int s = 0;
    for (BitBoard p = light_pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        s += pawn_pcsq[sq] - center_factor[sq & 7];
    }
    for (BitBoard p = dark_pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        s -= pawn_pcsq[flip[sq]] - center_factor[sq & 7];
    }
    return s;
}

// A pawn is worth more in an endgame where one side has only its king left
// among its pieces. The pieces are not part of the pawn key: within one
// search a cached score keeps the worth it was computed with.
int pawn_worth() {
    const bool bare = PopCnt(light_pieces) == 1 || PopCnt(dark_pieces) == 1;
    return is_endgame && bare ? 112 : 100;
}

}  // namespace

int delta_pawns(BitBoard p) {
    return 2 * std::abs(PopCnt(p & light_squares) - PopCnt(p & dark_squares));
}

int chain_space() {
    int s = 0;
    for (BitBoard p = light_pawns & inner_files(); p; p &= p - 1) s += 7 - (BBf(p) >> 3);
    for (BitBoard p = dark_pawns & inner_files(); p; p &= p - 1) s -= BBf(p) >> 3;
    return 3 * s;
}

int passed_pawns() {
    light_passed = passed_set(light_pawns, dark_pawns, horizonte[LIGHT]);
    dark_passed = passed_set(dark_pawns, light_pawns, horizonte[DARK]);
    const BitBoard lp = light_passed, dp = dark_passed;
    // By relative rank: 7 up to the fourth, 17 on the fifth, 37 on the
    // sixth, 47 on the seventh.
    int s = 7 * (PopCnt(lp) - PopCnt(dp)) + 10 * (on_rank(lp, 5) - on_rank(dp, 4)) +
            20 * (on_rank(lp, 6) - on_rank(dp, 3)) + 30 * (on_rank(lp, 7) - on_rank(dp, 2)) +
            10 * (on_rank(lp, 6) + on_rank(lp, 7) - on_rank(dp, 3) - on_rank(dp, 2));
    if (PopCnt(lp) > 1) s += 20;
    if (PopCnt(dp) > 1) s -= 20;
    return is_endgame ? 2 * s : s;
}

int isolated_pawns() {
    light_isolated = isolated_set(light_pawns);
    dark_isolated = isolated_set(dark_pawns);
    return -4 * (PopCnt(light_isolated) - PopCnt(dark_isolated));
}

int doubled_pawns() { return -8 * (doubled_count(light_pawns) - doubled_count(dark_pawns)); }

// Extra charges for a backward pawn that an enemy rook can reach along a
// half-open file, and for one still on its first or second step.
int backward_pawns() {
    const BitBoard lb = backward_set(light_pawns, horizonte[DARK]);
    const BitBoard db = backward_set(dark_pawns, horizonte[LIGHT]);
    return -8 * (PopCnt(lb) - PopCnt(db)) - 15 * (PopCnt(lb & dark_open_columns) - PopCnt(db & light_open_columns)) -
           6 * (on_rank(lb, 2) - on_rank(db, 7)) - 4 * (on_rank(lb, 3) - on_rank(db, 6));
}

// Pawns on the four centre squares and pawn control of them.
int central_pawns() {
    return 3 * (PopCnt(light_pawns & central_squares) - PopCnt(dark_pawns & central_squares)) +
           2 * (PopCnt(light_pawn_attacked & central_squares) - PopCnt(dark_pawn_attacked & central_squares));
}

int eval_pawns() {
    if (!(light_pawns | dark_pawns)) return 0;
    int s;
    if (hp_probe(&s)) return s;
    s = 0;
    if (!dark_pawns) s += 15;
    if (!light_pawns) s -= 15;
    // Centre pawns that have not moved block the development of the bishops.
    s -= 4 * PopCnt(light_pawns & (mask[D2] | mask[E2]));
    s += 4 * PopCnt(dark_pawns & (mask[D7] | mask[E7]));
    s += (PopCnt(light_pawns) - PopCnt(dark_pawns)) * pawn_worth();
    s += 2 * (PopCnt(light_pawn_attacked) - PopCnt(dark_pawn_attacked));   // 2 per square controlled
    s += delta_pawns(light_pawns) - delta_pawns(dark_pawns);
    s += chain_space() + passed_pawns() + isolated_pawns() + doubled_pawns() + backward_pawns();
    s += central_pawns() + placement();
    hp_update(s);
    return s;
}
