// search/state.h: what every edition's search shares with the front ends:
// the limits and the clock, the principal variation, the node and cutoff
// counters, and the printed thinking lines.
// Editions: 3.5, 3.0, 2.3.
#pragma once
#include "board/position.h"
#include <cstdint>

constexpr int MAX_ITERATION = 20;   // iterations never go deeper
constexpr int MAX_LINE = 60;        // moves of a principal-variation line
constexpr int QUIESCE_PLIES = 30;   // the limit every caller passes to the quiescence search
// The mate scale of every edition: a side mated at ply p scores p - MATE_SCORE,
// so scores near +-MATE_SCORE are mates and (-MATE_SCORE, MATE_SCORE) is the
// widest window.
constexpr int MATE_SCORE = 10000;
constexpr int mated_in(int p) { return p - MATE_SCORE; }   // the side to move is mated at ply p
// A score that is a mate found within `plies` plies, for either side.
constexpr bool mate_within(int score, int plies) {
    return score >= MATE_SCORE - plies || score <= plies - MATE_SCORE;
}
// Windows inside (-NEAR_MATE, NEAR_MATE) are about material, not mates: a
// repetition is scored there, and a null move scoring below -NEAR_MATE shows
// a mate threat.
constexpr int NEAR_MATE = 9000;
// A node reached after this many half-moves without a capture or a pawn move is a draw.
constexpr int FIFTY_MOVE_PLIES = 100;
// max_time or max_depth when the other limit bounds the search alone.
constexpr int NO_LIMIT = 10000;
// Editions 3.5 and 3.0 resign when an iteration past RESIGN_DEPTH scores below this.
constexpr int RESIGN_SCORE = -1200;
constexpr int RESIGN_DEPTH = 5;

struct tagLINE {
    int count;
    move_bytes moves[MAX_LINE];
};

struct search_timeout {};   // thrown to leave the search; caught by the driver

// Per thread: the limits and the clock (a helper has none: it stops when
// the main thread stops it), the line, the counters and the hooks. The main
// thread's alone: the XBoard clocks and the book switch.
extern constinit thread_local int max_time;                 // seconds per search
extern constinit thread_local int max_depth;                // iteration limit
extern std::int64_t total_time, op_time;   // the clocks XBoard last sent, in centiseconds
constexpr long MS_PER_CS = 10;       // milliseconds in a centisecond of those clocks
extern constinit thread_local int start_time, stop_time;    // milliseconds of get_ms
extern constinit thread_local int mdpth;                    // depth of the current iteration
extern constinit thread_local int eval_global;              // score of the last completed iteration
extern constinit thread_local int minki, maxkf;             // the aspiration window, kept from search to search
extern constinit thread_local int stop_search;              // the search ended by a jump out of it (or the book answered)
extern constinit thread_local int silencio;                 // the current search prints nothing of its own
extern int book_on;                  // the next search may take a book move

extern constinit thread_local tagLINE var_princ;            // the root line; moves[0] is the search result
// The counters are 64-bit in every build: a long search passes 2^31 nodes.
extern constinit thread_local std::int64_t nodes, qnodes;   // full-width and quiescence nodes
// The deepest ply a search reached (UCI's seldepth): every quiescence node
// notes its ply; whoever reads it sets it to 0 before the search.
extern constinit thread_local int sel_depth;
inline void note_ply_reached() { sel_depth = ply > sel_depth ? ply : sel_depth; }
// Full-width beta cutoffs, and those on the first legal move; the same in
// the quiescence search; counters the searches and the move scoring keep;
// branch[k]: nodes with 3k + 1 to 3k + 3 legal moves (the last entry: more).
extern constinit thread_local std::int64_t ab_cutoffs, ab_firstmove;
extern constinit thread_local std::int64_t cutoffs, firstmove;
extern constinit thread_local std::int64_t chash[12];
extern constinit thread_local std::int64_t branch[20];

// A front end that watches the search (UCI mode, and the console's Ctrl-C)
// hooks in here; at the console and in XBoard mode both hooks are null and
// budget_ms is 0, so those searches run exactly as they always have.
// The fuzz build stops every search after a few dozen nodes of either kind,
// whatever limits its input sets: its inputs are about the commands, and
// longer searches would take most of a run's time. 0: no cap.
#ifdef ZORVU_SEARCH_NODE_CAP
constexpr long SEARCH_NODE_CAP = ZORVU_SEARCH_NODE_CAP;
constexpr long POLL_NODES = SEARCH_NODE_CAP;   // so that a capped search still asks its hook once
#else
constexpr long SEARCH_NODE_CAP = 0;
constexpr long POLL_NODES = 1024;   // nodes between two calls of poll_hook (a power of two)
#endif
static_assert((POLL_NODES & (POLL_NODES - 1)) == 0);
extern constinit thread_local int budget_ms;                // above 0: the search's budget in milliseconds, instead of max_time seconds
using poll_function = int (*)();
extern constinit thread_local poll_function poll_hook;           // asked every POLL_NODES nodes; nonzero stops the search
// Prints the thinking lines its own way; while it is set the search prints
// nothing else of its own (no "resign", no "In Book").
using line_function = void (*)(int depth, int score, const tagLINE* line, int moves, std::int64_t node_count);
extern constinit thread_local line_function line_hook;
// Asked at the root after each legal move is made, with the move and its
// place in the root's list; false: the move is taken back unsearched (UCI's
// searchmoves and the further lines of MultiPV). Null outside UCI mode.
using root_move_function = bool (*)(move_bytes m, int list_place);
extern constinit thread_local root_move_function root_move_hook;
// The root's hook, asked once a move made from the root (ply is 1) is legal;
// true when the move is to be skipped (the caller takes it back).
inline bool skipped_at_root(move_bytes m, int list_place) {
    return ply == 1 && root_move_hook && !root_move_hook(m, list_place);
}

int  search_budget_ms();             // budget_ms, or max_time in milliseconds
// Leaves the search, with stop_search set, as the clock, a poll or the
// iteration loop ends it; the driver catches it.
[[noreturn]] void leave_search();
// Called with a node counter just counted: every POLL_NODES nodes asks the
// poll hook, and leaves the search when it says stop.
inline void poll_search(std::int64_t count) {
    if ((count & (POLL_NODES - 1)) != 0) return;
    // The hook first, so that a capped search still reads its input.
    if ((poll_hook && poll_hook()) || (SEARCH_NODE_CAP > 0 && count >= SEARCH_NODE_CAP)) leave_search();
}

int  get_ms();                       // wall clock in milliseconds, modulo 2^32
int  time_is_up();                   // get_ms() has reached stop_time (across the wrap too)
// A thinking or summary line: depth, score, centiseconds, node count, moves.
void print_line(int depth, int score, const tagLINE* line, int moves, std::int64_t node_count);
void print_cutoff_statistics();      // the first-move cutoff rates, after a stopped search
void print_search_counters();       // the "Counters" and "Branching" lines after an engine move
void clear_search_counters();
// What every edition's search leaves to the next (the aspiration window, the
// counters and the figures a book move reports) back at a fresh program's
// values, with the book off; the rest of the shared state each search sets
// up for itself.
void reset_shared_search_state();
void count_branch(int legal);        // a node's legal-move count, as it grows, into branch
void set_line(tagLINE* line, move_bytes m, const tagLINE& below);   // m then below, at most MAX_LINE moves
