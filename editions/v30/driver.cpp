// editions/v30/driver.cpp: tree_surf, iterative deepening with an
// aspiration window, the time budget from the XBoard clocks, and the way
// back to a fresh run.
#include "search/driver.h"
#include "board/position.h"
#include "book/book.h"
#include "editions/v30/alphabeta.h"
#include "eval/eval.h"
#include "hash/table.h"
#include "moves/make.h"
#include "search/ordering.h"
#include "search/root_copy.h"
#include "search/threads.h"
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int CLEARED_LINE_MOVES = 40;   // moves of var_princ emptied before a search

void prepare() {
    start_time = get_ms();
    ply = 0;
    nodes = qnodes = 0;   // qnodes stays 0: the quiescence search counts into nodes
    stop_time = int(uint32_t(start_time) + uint32_t(search_budget_ms()));
    clear_ordering();
    std::memset(var_princ.moves, 0, CLEARED_LINE_MOVES * sizeof(move_bytes));
    is_endgame = endgame();
    if (is_endgame && !silencio) std::printf("Final de partida... \n");
    firstmove = cutoffs = ab_firstmove = ab_cutoffs = 0;
    eval_global = 0;
}

// Searches one depth until its window holds the score or fails a fourth
// time. Returns 1 when the score held.
int search_depth(int depth, int only_move) {
    for (int failures = 0;; failures++) {
        const int s = alphabeta(minki, maxkf, depth, &var_princ, 0);
        if (only_move && depth > 3) leave_search();
        if (depth > 2 && mate_within(s, depth - 1)) {   // a mate within reach
            ply = 0;
            leave_search();
        }
        const aspiration_step step = aspiration_after(s, failures);
        if (step != WINDOW_WIDENED) return step == WINDOW_HELD;
    }
}

void iterate(int only_move) {
    for (int depth = 1; depth <= max_depth; depth++) {
        var_princ.count = 0;
        mdpth = depth;
        if (depth > MAX_ITERATION) return;
        follow_pv = 1;
        if (search_depth(depth, only_move) && eval_global < RESIGN_SCORE && depth > RESIGN_DEPTH) {
            if (!line_hook) std::printf("resign \n");
            leave_search();
        }
    }
}

// A stopped search prints no summary: the line's first move stays the
// result, and the moves the interrupted line still had made are taken back.
void stopped() {
    var_princ.count = 0;
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
            stop_search = 1;
        }
        stop_helpers();
    }
    if (stop_search) stopped();
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

// The opponent's clock plays no part in this edition.
void tree_surf_time(std::int64_t /*op_time*/, std::int64_t own_time) {
    if (own_time <= 2999) max_time = int(own_time / 800);
    else if (own_time <= 5999) max_time = 5;
    else if (own_time <= 8999) max_time = 7;
    else if (own_time <= 29999) max_time = 11;
    else if (own_time <= 59999) max_time = 18;
    else if (own_time <= 119999) max_time = 45;
    else max_time = int(own_time / 3000);
    // Short of time, a clearly won game is played faster, a worse one slower.
    if (own_time <= 29999) {
        if (eval_global > 150) max_time -= max_time / 3;
        else if (eval_global < -10) max_time += max_time / 3;
    }
    if (max_time <= 0) max_time = 1;
}

void reset_search_state() {
    reset_shared_search_state();
    reset_tables();
    clear_ordering();
    is_endgame = 0;   // endgame() compares the new phase with the last one
}

// The quiescence search counts into nodes; qnodes stays 0.
std::int64_t reported_nodes() { return nodes; }
