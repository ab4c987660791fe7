// search/threads.h: several threads searching one position. The helpers
// search the main thread's root with the same iterative deepening and share
// nothing with it but the transposition table, which they fill for each
// other; the main thread's result is the one played and reported. The
// helpers are started once and wait between searches.
// Editions: 3.5, 3.0, 2.3 (each edition's driver publishes its root and runs
// a helper's search, declared in search/driver.h).
#pragma once
#include "search/state.h"

// A browser build has no threads (it is built without them): one searches.
#ifdef __EMSCRIPTEN__
constexpr int MAX_SEARCH_THREADS = 1;
#else
constexpr int MAX_SEARCH_THREADS = 256;
#endif

// Per thread: 0 in the main thread, 1 and up in the helpers.
extern constinit thread_local int thread_number;
// The main thread's alone, set between searches: the filter the helpers
// apply to the root's moves (UCI's searchmoves and MultiPV), with no output
// of its own; null: every move.
extern root_move_function helper_root_filter;

// n threads from the next search on (clamped to 1 to MAX_SEARCH_THREADS):
// the helpers beyond n - 1 end, the missing ones start and wait. Between
// searches only.
void set_search_threads(int n);
// The main thread's calls around its own search, once its writes to shared
// state (the table's generation) are done: the helpers copy the published
// root and search it until stop_helpers, which returns once every one of
// them is idle again. Nothing happens with one thread.
void start_helpers();
void stop_helpers();
bool helpers_searching();           // between start_helpers and stop_helpers, in any thread
std::int64_t helper_nodes();        // the nodes the helpers have searched since start_helpers
