// search/driver.h: iterative deepening with an aspiration window, the time
// budget, the book at the root, the summary line, and the way back to the
// state of a fresh run.
// Editions: 3.5, 3.0, 2.3; implemented by search/driver.cpp (3.5), editions/v30/driver.cpp (3.0)
// and editions/v23/search23.cpp (2.3).
#pragma once
#include "search/state.h"

void tree_surf(int silent);          // searches the position; the move is var_princ.moves[0]
// Sets max_time from the two clocks, in centiseconds (2.3: its own alone).
void tree_surf_time(std::int64_t op_time, std::int64_t own_time);
// Puts everything one search leaves to the next (the window, the tables and
// their generation, the key generator, the game phase, the counters)
// back at a freshly started program's values, with the book off: a position
// set up after it is searched as a new run would search it.
void reset_search_state();
std::int64_t reported_nodes();       // the last search's nodes as the console reports them
// The searches on several threads (search/threads.h), each edition its own:
void publish_root();                 // main thread: its position and game record, for the helpers to copy
void helper_search();                // a helper: the published position searched, silently, until the stop
