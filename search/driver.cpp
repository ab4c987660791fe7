// search/driver.cpp: tree_surf, the clock, and the way back to a fresh run.
#include "search/driver.h"
#include "board/position.h"
#include "book/book.h"
#include "eval/eval.h"
#include "hash/table.h"
#include "moves/make.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search/root_copy.h"
#include "search/threads.h"
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

int after(int ms, int delta) { return int(uint32_t(ms) + uint32_t(delta)); }

void prepare() {
    start_time = get_ms();
    ply = 0;
    nodes = qnodes = 0;
    stop_time = after(start_time, search_budget_ms());
    chk_counter = 0;
    clear_ordering();
    std::memset(var_princ.moves, 0, sizeof var_princ.moves);
    is_endgame = endgame();
    if (is_endgame && !silencio) std::printf("Final de partida... \n");
    firstmove = cutoffs = ab_firstmove = ab_cutoffs = 0;
    eval_global = 0;
}

void iterate(int only_move) {
    minki += quiesce(-MATE_SCORE, MATE_SCORE, 0, QUIESCE_PLIES);
    maxkf += quiesce(-MATE_SCORE, MATE_SCORE, 0, QUIESCE_PLIES);
    for (int depth = 1; depth <= max_depth; depth++) {
        var_princ.count = 0;
        mdpth = depth;
        if (depth > MAX_ITERATION) return;
        follow_pv = 1;
        for (int fails = 0;; fails++) {
            const int s = alphabeta(minki, maxkf, depth, &var_princ, 0);
            if (depth > 3 && (s > eval_global + 50 || s < eval_global - 50)) stop_time = after(stop_time, 5);
            if (only_move && depth > 3) leave_search();
            if (depth > 2 && mate_within(s, depth)) {
                ply = 0;
                leave_search();
            }
            if (fails > 2 && (s <= minki || s >= maxkf)) {
                clear_hash_in_search();
                stop_time = after(stop_time, 3);
                minki = -MATE_SCORE;
                maxkf = MATE_SCORE;
            } else if (s >= maxkf) {
                clear_hash_in_search();
                minki = s - 10;
                maxkf = s + ventana;
            } else if (s <= minki) {
                clear_hash_in_search();
                maxkf = s + 10;
                minki = s - ventana;
            } else {
                minki = s - ventana;
                maxkf = s + ventana;
                eval_global = s;
                break;
            }
        }
        if (eval_global < RESIGN_SCORE && depth > RESIGN_DEPTH) {
            if (!line_hook) std::printf("resign \n");
            leave_search();
        }
    }
}

void report() {
    print_line(mdpth, eval_global, &var_princ, mdpth, nodes + qnodes);
    while (ply > 0) takeback();
    if (!silencio) print_cutoff_statistics();
}

}  // namespace

void tree_surf(int silent) {
    silencio = silent;
    hash_seq++;
    stop_search = book_on && book_move(computer_side);
    book_on = 0;
    if (!stop_search) {
        prepare();
        const int only_move = only_one();
        start_helpers();
        try {
            iterate(only_move);
        } catch (const search_timeout&) {
        }
        stop_helpers();
    }
    if (stop_search) report();
}

void helper_search() {
    take_root();
    prepare();
    try {
        iterate(only_one());
    } catch (const search_timeout&) {
    }
    while (ply > 0) takeback();
}

void tree_surf_time(std::int64_t op_time, std::int64_t own_time) {
    max_time = int(own_time / 2200);
    const std::int64_t t = own_time / 100;
    if (t > 180 && max_time <= 14) max_time = 15;
    else if (t > 120 && max_time <= 9) max_time = 10;
    else if (t > 60 && max_time <= 6) max_time = 7;
    else if (t > 30 && max_time <= 3) max_time = 4;
    if (op_time > own_time + 1000) max_time = max_time * 4 / 5;
}

void reset_search_state() {
    reset_shared_search_state();
    reset_tables();
    clear_ordering();
    is_endgame = 0;   // endgame() compares the new phase with the last one
}

std::int64_t reported_nodes() { return nodes + qnodes; }
