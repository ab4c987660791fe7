// search/alphabeta.cpp: the alpha-beta search.
#include "search/alphabeta.h"
#include "bitboard/pieces.h"
#include "board/print.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <utility>

constinit thread_local int chk_counter{};

namespace {

constexpr int FULL_PLY = 128;   // extension credit worth one ply
constexpr int SIX_FIFTHS_PLY = 153, FOUR_FIFTHS_PLY = 102, TWO_FIFTHS_PLY = 51;
constexpr int NULL_MOVE_MAX_ALPHA = 499;   // no null move once the side to move is this far ahead

int own_material() { return side == LIGHT ? material_balance : -material_balance; }

void check_time() {
    poll_search(nodes);
    if (++chk_counter < TIME_CHECK_NODES) return;
    chk_counter = 0;
    if (time_is_up()) leave_search();
}

}  // namespace

bool null_move_allowed(int depth, int alpha, int beta, bool in_check) {
    const BitBoard pieces = side == LIGHT ? light_pieces & ~mask[light_king_sq] : dark_pieces & ~mask[dark_king_sq];
    return !in_check && depth > 1 && !is_endgame && alpha <= NULL_MOVE_MAX_ALPHA && own_material() + 50 > beta && pieces &&
           ply >= 2 && !(hist_dat[ply - 2].castle & NULL_MARK);
}

// Extension credit of the move just made (ply is the child's).
int extension_credit(move_bytes m, bool in_check, bool only_move, int depth, int nullscore, int credit) {
    int c;
    if (in_check) {
        c = only_move ? SIX_FIFTHS_PLY : FULL_PLY;
    } else {
        c = only_move && depth <= 2 ? FOUR_FIFTHS_PLY : 0;
        if (!only_move && ply > 1) {
            const hist_rec &last = hist_dat[ply - 1], &before = hist_dat[ply - 2];
            if (last.capture != EMPTY && before.capture != EMPTY && last.m.to == before.m.to) c += FOUR_FIFTHS_PLY;   // a recapture
        }
    }
    if (m.bits & MF_PROMOTE) c += TWO_FIFTHS_PLY;
    if (is_endgame) {
        const bool kings_and_pawns = PopCnt(light_pieces) == 1 && PopCnt(dark_pieces) == 1;
        if (m.bits & (MF_PAWN | MF_DOUBLE)) c += kings_and_pawns ? FOUR_FIFTHS_PLY : TWO_FIFTHS_PLY;
    } else if (nullscore < -NEAR_MATE && depth <= 3) {
        c += TWO_FIFTHS_PLY;   // a mate threat showed up against the null move
    }
    c += credit;
    if (ply > 20) c /= 2;
    return c;
}

// Late quiet moves are searched one ply less deep, in even iterations only.
int depth_decrement(bool extended, bool in_check, int depth, int score, int fails) {
    if (extended) return 0;
    if (hist_dat[ply - 1].capture != EMPTY || in_check || depth <= 2 || mdpth % 2 != 0) return 1;
    if (score < -150 && fails > 3) return 2;
    if ((ply == 3 && fails > 18) || (ply == 5 && fails > 15) || (ply == 7 && fails > 12)) return 2;
    return 1;
}


int alphabeta(int alpha, int beta, int depth, tagLINE* line, int credit) {
    nodes++;
    if (depth == 0) {
        line->count = 0;
        if (key_search()) return 2;
        return quiesce(alpha, beta, 0, QUIESCE_PLIES);
    }
    // The per-ply arrays end at ply 63: a line extended this deep is a leaf.
    if (ply >= MAX_PLY - 1) {
        line->count = 0;
        return quiesce(alpha, beta, 0, QUIESCE_PLIES);
    }
    check_time();
    Move2Gen();
    const bool in_check = ichk;
    const int own = own_material();

    if (depth <= 3 && own + atfactor * 4 / 3 < alpha && ply > 0 && own + 150 < alpha && credit == 0) {
        const int s = quiesce(alpha, beta, 0, QUIESCE_PLIES);
        if (s <= alpha) {
            chash[CHASH_RAZOR]++;
            return s;
        }
    }

    // Lines are read only up to their count: the moves need no clearing.
    tagLINE local;
    local.count = 0;
    if (follow_pv) sort_pv();
    // The move the loop takes next, found ahead so that its table slot loads
    // while the move before it is searched.
    int next = gen_begin[ply];
    if (next < gen_end[ply]) {
        next = next_to_sort(next);
        prefetch_slot(key_after(gen_dat[next].m), xside);
    }

    int nullscore = MATE_SCORE;   // no null-move score: no threat seen
    if (null_move_allowed(depth, alpha, beta, in_check) && makenullmove()) {
        const int d = depth > 4 ? depth - 3 : depth - 2;
        int ns;
        if (!hash_search(&ns, d, beta - 1, beta)) ns = -alphabeta(-beta, 1 - beta, d, &local, 0);
        unmakenullmove();
        if (ns >= beta) {
            chash[CHASH_NULL_CUTOFF]++;
            return ns;
        }
        nullscore = ns;
    }

    const int only_move = only_one();
    int a = alpha, w = alpha, fails = 0, legal = 0;
    bool any = false;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        std::swap(gen_dat[i], gen_dat[next]);   // sort(i): the searches below leave this ply's list alone
        if (legal == 1 && only_move) break;
        const move_bytes m = gen_dat[i].m;
        if (i + 1 < gen_end[ply]) {
            next = next_to_sort(i + 1);
            prefetch_slot(key_after(gen_dat[next].m), xside);
        }
        if (!makemove(m)) continue;
        if (skipped_at_root(m, i - gen_begin[0])) {
            takeback();
            continue;
        }
        if (depth == 1) prefetch_eval_caches();   // the child is a quiescence search: it evaluates first
        if (!silencio) count_branch(++legal);
        any = true;

        int stored;
        if (alpha < NEAR_MATE && beta > -NEAR_MATE && key_search()) {
            w = 2;
        } else if (hash_search(&stored, depth - 1, w, w + 1)) {
            w = stored;
        } else {
            int c = extension_credit(m, in_check, only_move, depth, nullscore, credit);
            const bool extended = c >= FULL_PLY;
            if (extended) c -= FULL_PLY;
            const int dec = depth_decrement(extended, in_check, depth, gen_dat[i].score, fails);
            const int nd = depth - dec;
            const int old_w = w;
            const std::int64_t effort_start = nodes + qnodes;
            int s = -alphabeta(-(w + 1), -w, nd, &local, c);
            // A move that beats the zero window is searched again with the
            // full window, in every iteration: without the re-search the
            // last move to pass the zero window would be taken as best.
            if (s > w && s < beta) s = std::max(s, -alphabeta(-beta, -s, nd, &local, c));
            if (s > w) w = s;
            hash_update(nd, s, w, old_w + 1, nodes + qnodes - effort_start);
        }
        takeback();

        if (only_move && w <= a) hash_move_update(m);
        if (ply == 0) ply0_history[m.from * 64 + m.to] = w;
        if (w > a) {
            hash_move_update(m);
            set_line(line, m, local);
            if (ply == 0 && side == computer_side) print_line(depth, w, line, line->count, nodes + qnodes);
            if (w >= beta) {
                if (piece[int(m.to)] == EMPTY) killer_update(i);
                ab_cutoffs++;
                history[m.from * 64 + m.to] += depth;
                if (legal == 1) ab_firstmove++;
                return w;
            }
            a = w;
        } else {
            fails++;
        }
    }
    if (!any) return in_check ? mated_in(ply) : 0;
    return fifty >= FIFTY_MOVE_PLIES ? 0 : a;
}
