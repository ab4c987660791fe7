// editions/v30/alphabeta.cpp: the alpha-beta search and its aspiration window.
#include "editions/v30/alphabeta.h"
#include "bitboard/pieces.h"
#include "editions/v30/gen.h"
#include "editions/v30/quiesce.h"
#include "editions/v30/replace.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/make.h"
#include "search/ordering.h"
#include <algorithm>
#include <utility>

namespace {

constexpr int EXTRA_PLIES = 5;      // plies a line may run past its iteration's depth
constexpr int NULL_MOVE_MAX_ALPHA = 699;   // no null move once the side to move is this far ahead

bool in_check_here(const int* flags_x) { return flags_x[side == LIGHT ? light_king_sq : dark_king_sq] != 0; }

// The move just made and the one before it took men of the same kind, from
// knight to queen, on the same square: the exchange is even so far.
bool recaptures_like_piece() {
    if (ply < 2) return false;
    const hist_rec &last = hist_dat[ply - 1], &before = hist_dat[ply - 2];
    return last.capture >= KNIGHT && last.capture <= QUEEN && last.capture == before.capture &&
           last.m.to == before.m.to;
}

// Searches the move just made around the working bound w: a zero window
// first, the full one when the move beats it. The result is stored for the
// child. Returns the new working bound.
int search_move(int w, int beta, int nd, tagLINE* local, int p) {
    int s = -alphabeta(-(w + 1), -w, nd, local, p);
    // The re-search is made in every iteration, the last one too: without it
    // a fixed-depth search would take the last move to pass the zero window
    // as best, whatever it was worth.
    if (s > w && s < beta) s = std::max(s, -alphabeta(-beta, -s, nd, local, p));
    const int old_w = w;
    if (s > w) w = s;
    hash_update(nd, s, w, old_w + 1, 0);
    return w;
}

}  // namespace

// The quiescence search counts into the same counter: reading the clock at
// its multiples too keeps a capture-heavy search from stepping over them.
void count_node() {
    poll_search(++nodes);
    if (nodes % TIME_CHECK_INTERVAL != 0) return;
    if (time_is_up()) leave_search();
}

bool null_move_allowed(int depth, int alpha, bool in_check) {
    const BitBoard pieces = side == LIGHT ? light_pieces & ~mask[light_king_sq] : dark_pieces & ~mask[dark_king_sq];
    return !in_check && depth > 1 && depth != mdpth && !is_endgame && alpha <= NULL_MOVE_MAX_ALPHA && ply > 1 &&
           hist_dat[ply - 2].castle != NULL_MARK && pieces;
}

int move_decrement(bool only_move, bool in_check, int depth, int p) {
    int dec = only_move && !in_check ? 0 : 1;
    if (depth == 1 && p == 0 && ply > 3 && recaptures_like_piece()) dec--;
    return dec;
}

int alphabeta(int alpha, int beta, int depth, tagLINE* line, int p) {
    count_node();
    if (depth == 0) {
        line->count = 0;
        if (key_search()) return 2;
        return quiesce(alpha, beta, 0, QUIESCE_PLIES);
    }
    // Extensions end a few plies past the iteration. Whatever they add up
    // to, no move is made from ply MAX_PLY - 1 on, where the move layer
    // would refuse it as well: the line is scored as it stands.
    if (ply > mdpth + EXTRA_PLIES || ply >= MAX_PLY - 1) {
        line->count = 0;
        return quiesce(alpha, beta, 0, QUIESCE_PLIES);
    }
    int flags_x[64];
    MoveGen(flags_x);
    const bool in_check = in_check_here(flags_x);
    if (in_check) depth++;

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

    if (null_move_allowed(depth, alpha, in_check) && makenullmove()) {
        const int d = depth > 4 ? depth - 3 : depth - 2;
        const int ns = -alphabeta(-beta, 1 - beta, d, &local, 1);
        unmakenullmove();
        if (ns >= beta) {
            chash[CHASH_EVALS_AND_NULL_CUTOFFS]++;
            return ns;
        }
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
        if (alpha < NEAR_MATE && beta > -NEAR_MATE && key_search()) w = 2;
        else if (hash_search(&stored, depth - 1, w, w + 1)) w = stored;
        else w = search_move(w, beta, depth - move_decrement(only_move, in_check, depth, p), &local, p);
        takeback();

        const int from_to = m.from * 64 + m.to;
        if (only_move && w <= a) hash_move_update(m);
        if (ply == 0) ply0_history[from_to] = w;
        if (w > a) {
            hash_move_update(m);
            // A best move found late among many failures counts double.
            history[from_to] += fails > 3 ? 2 * depth : depth;
            set_line(line, m, local);
            if (ply == 0 && side == computer_side) print_line(depth, w, line, line->count, nodes);
            if (w >= beta) {
                if (piece[int(m.to)] == EMPTY) killer_update(i);
                if (fails > 12) history[from_to] += 10 * depth;
                ab_cutoffs++;
                if (legal == 1) ab_firstmove++;
                return w;
            }
            a = w;
        } else {
            fails++;
        }
    }
    if (a == alpha) hash_alpha_node_update();
    if (!any) return in_check ? mated_in(ply) : 0;
    return fifty >= FIFTY_MOVE_PLIES ? 0 : a;
}

aspiration_step aspiration_after(int s, int failures) {
    if (s > minki && s < maxkf) {
        minki = s - ventana;
        maxkf = s + ventana;
        eval_global = s;
        return WINDOW_HELD;
    }
    if (failures >= 3) return WINDOW_ABANDONED;
    clear_hash_in_search();
    if (failures > 0) {
        minki = -MATE_SCORE;
        maxkf = MATE_SCORE;
    } else if (s >= maxkf) {
        minki = s - 10;
        maxkf = s + ventana;
    } else {
        minki = s - ventana;
        maxkf = s + 10;
    }
    return WINDOW_WIDENED;
}
