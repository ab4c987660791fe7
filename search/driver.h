// search/driver.h: iterative deepening with an aspiration window, the time
// budget, the book at the root, and the summary line.
#pragma once
#include "search/state.h"

void tree_surf(int silent);          // searches the position; the move is var_princ.moves[0]
void tree_surf_time(long op_time, long own_time);   // sets max_time from the two clocks
