// search/state.cpp: the shared search state, the clock and the printed lines.
#include "search/state.h"
#include "board/print.h"
#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>

constinit thread_local int max_time = NO_LIMIT;
constinit thread_local int max_depth = 4;
std::int64_t total_time, op_time;
constinit thread_local int start_time{}, stop_time{};
constinit thread_local int mdpth{};
constinit thread_local int eval_global{};
constinit thread_local int minki = -INITIAL_WINDOW, maxkf = INITIAL_WINDOW;
constinit thread_local int stop_search{};
constinit thread_local int silencio{};
int book_on;

constinit thread_local int budget_ms{};
constinit thread_local poll_function poll_hook{};
constinit thread_local line_function line_hook{};
constinit thread_local root_move_function root_move_hook{};

constinit thread_local tagLINE var_princ{};
constinit thread_local std::int64_t nodes{}, qnodes{};
constinit thread_local int sel_depth{};
constinit thread_local std::int64_t ab_cutoffs{}, ab_firstmove{};
constinit thread_local std::int64_t cutoffs{}, firstmove{};
constinit thread_local std::int64_t chash[12]{};
constinit thread_local std::int64_t branch[20]{};

int get_ms() {
    const auto since_epoch = std::chrono::system_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since_epoch).count();
    return int(uint32_t(uint64_t(ms)));
}

int search_budget_ms() { return budget_ms > 0 ? budget_ms : max_time * 1000; }

void leave_search() {
    stop_search = 1;
    throw search_timeout{};
}

// The fuzz build's searches end by its node cap, never by the clock, so that
// an input replays the same.
int time_is_up() { return SEARCH_NODE_CAP == 0 && int(uint32_t(get_ms()) - uint32_t(stop_time)) >= 0; }

void print_line(int depth, int score, const tagLINE* line, int moves, std::int64_t node_count) {
    if (line_hook) {
        line_hook(depth, score, line, moves, node_count);
        return;
    }
    const int elapsed = int(uint32_t(get_ms()) - uint32_t(start_time));
    std::printf("%3d%6d%7d%10" PRId64 "    ", depth, score, elapsed / 10, node_count);
    for (int i = 0; i < std::min(moves, MAX_LINE); i++) {
        std::printf(" ");
        if (line->moves[i].from != line->moves[i].to) print_move(line->moves[i]);
    }
    std::printf("\n");
    std::fflush(stdout);
}

void print_cutoff_statistics() {
    if (cutoffs > 0) std::printf("Qsearch first cuttofs: %" PRId64 "%% - ", firstmove * 100 / cutoffs);
    if (ab_cutoffs > 0) std::printf("Search first cuttofs: %" PRId64 "%%\n", ab_firstmove * 100 / ab_cutoffs);
    else std::printf("\n");
}

void print_search_counters() {
    std::printf("\nCounters: ");
    for (std::int64_t c : chash) std::printf("%" PRId64 " ", c);
    std::printf("\nBranching: ");
    std::int64_t sum = 0, weighted = 0;
    for (int i = 0; i < 20; i++) {
        std::printf("%" PRId64 " ", branch[i]);
        sum += branch[i];
        weighted += branch[i] * 3 * (i + 1);
    }
    if (sum > 0) std::printf("\nBranching level: %2" PRId64 "\n", weighted / sum);
}

void clear_search_counters() {
    for (std::int64_t& c : chash) c = 0;
    for (std::int64_t& b : branch) b = 0;
}

void reset_shared_search_state() {
    minki = -INITIAL_WINDOW;
    maxkf = INITIAL_WINDOW;
    book_on = 0;
    clear_search_counters();
    firstmove = cutoffs = ab_firstmove = ab_cutoffs = 0;
    nodes = qnodes = 0;   // a book move reports the last search's figures
    mdpth = eval_global = 0;
}

// Nodes with 3k + 1 to 3k + 3 legal moves end up counted in branch[k]; the
// rare nodes with more than 60 are counted in the last entry.
void count_branch(int legal) {
    if ((legal - 1) % 3 != 0) return;
    const int k = (legal - 1) / 3;
    branch[std::min(k, 19)]++;
    if (legal > 3) branch[std::min(k - 1, 19)]--;
}

void set_line(tagLINE* line, move_bytes m, const tagLINE& below) {
    line->moves[0] = m;
    const int copied = std::min(below.count, MAX_LINE - 1);
    std::memcpy(line->moves + 1, below.moves, copied * sizeof(move_bytes));
    line->count = copied + 1;
}
