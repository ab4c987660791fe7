// moves/score.cpp: exchange evaluation and move scoring.
#include "moves/score.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "eval/eval.h"
#include "eval/pieces.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include <algorithm>

namespace {

// Value of the man on a square; an empty square is the pawn taken en passant.
int value_on(int sq) { return piece[sq] == EMPTY ? piece_value[PAWN] : piece_value[piece[sq]]; }

// The least valuable man of side c among `men`, or -1.
int least_valuable(BitBoard men, int c, int* value) {
    const bool light = c == LIGHT;
    const BitBoard by_kind[5] = {
        light ? light_pawns : dark_pawns,     light ? light_knights : dark_knights,
        light ? light_bishops : dark_bishops, light ? light_rooks : dark_rooks,
        light ? light_queens : dark_queens,
    };
    for (int kind = PAWN; kind <= QUEEN; kind++) {
        if (men & by_kind[kind]) {
            *value = piece_value[kind];
            return BBf(men & by_kind[kind]);
        }
    }
    const int king = light ? light_king_sq : dark_king_sq;
    if (men & mask[king]) {
        *value = piece_value[KING];
        return king;
    }
    return -1;
}

}  // namespace

BitBoard XrayAttack(int to, BitBoard A, int s, int c) {
    BitBoard candidates;
    if (mask[to] & cruz[s]) candidates = cruz[s] & (c == LIGHT ? light_rooksqueens : dark_rooksqueens);
    else if (mask[to] & diag[s]) candidates = diag[s] & (c == LIGHT ? light_bishopsqueens : dark_bishopsqueens);
    else return 0;
    for (; candidates; candidates &= candidates - 1) {
        const int r = BBf(candidates);
        if ((entre[to][r] & A) == mask[s]) return mask[r];
    }
    return 0;
}

int sce2(int from, int to, const BitBoard* xatt, const BitBoard* satt, int stm) {
    if (!*xatt) return value_on(to) + ORDER_WINNING_CAPTURE;
    // Every man of the board can take part at most once.
    int gain[33];
    gain[0] = value_on(to);
    if (gain[0] > piece_value[piece[from]]) gain[0] += 150;
    BitBoard A = *xatt | (*satt & ~mask[from]);
    int cur = piece_value[piece[from]];
    int n = 1;
    for (int c = stm; A && n < 33; c ^= 1) {
        int value;
        const int s = least_valuable(A, c, &value);
        if (s < 0) break;
        gain[n] = cur - gain[n - 1];
        n++;
        cur = value;
        A |= XrayAttack(to, A, s, c);
        A &= ~mask[s];
    }
    for (int i = n - 1; i > 0; i--) gain[i - 1] = std::min(gain[i - 1], -gain[i]);
    return gain[0] < -1 ? gain[0] : gain[0] + ORDER_WINNING_CAPTURE;
}

uint32_t stored_hash_move() {
    const hash_entry e = read_slot(hash_slot_pointer());
    return e.checksum == master_checksum ? move_value(e.move) : 0;
}

int scoring2(move_bytes m, const BitBoard* from_x, const BitBoard* from_s) {
    return score_move(m, from_x, from_s, stored_hash_move());
}

int score_move(move_bytes m, const BitBoard* from_x, const BitBoard* from_s, uint32_t hash_move) {
    if (hash_move != 0 && move_value(m) == hash_move) {
        chash[CHASH_HASH_MOVE]++;
        return ORDER_HASH_MOVE;
    }
    const int from = m.from, to = m.to;
    if (m.bits & (MF_CAPTURE | MF_EP)) {
        if (piece[to] != EMPTY && !from_x[to]) return piece_value[piece[to]] + ORDER_WINNING_CAPTURE;
        // Among equal exchanges the capture with the smaller man comes first.
        return sce2(from, to, &from_x[to], &from_s[to], xside) - piece[from];
    }
    if (m.bits & MF_PROMOTE) return piece_value[int(m.promote)] + (from_x[to] ? 0 : ORDER_SAFE_PROMOTION);
    if (killers[ply][0].m == m || killers[ply][1].m == m) return ORDER_KILLER;
    int h = history[from * 64 + to];
    if (h) return h;
    if (ply == 0 && (h = ply0_history[from * 64 + to])) return h;
    h = 0;
    if (piece[from] != PAWN) h += BKA[to] - BKA[from];
    if (!is_endgame && piece[from] == KING) h -= 5;
    return h;
}
