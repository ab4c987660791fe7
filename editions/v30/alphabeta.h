// editions/v30/alphabeta.h: edition 3.0's full-width search: zero-window
// alpha-beta with a check extension, a null move, the single-reply and
// recapture extensions, and the transposition table probed for every
// child; and the aspiration window the driver puts around its root.
// Editions: 3.0.
#pragma once
#include "search/state.h"

// The clock is read when the node count reaches a multiple of this.
constexpr long TIME_CHECK_INTERVAL = 131072;
static_assert((TIME_CHECK_INTERVAL & (TIME_CHECK_INTERVAL - 1)) == 0);

// Score of the position for the side to move; line receives the best line
// below it. p is 1 below a null move and passed down unchanged otherwise.
// May not return: on time-out it throws search_timeout with the moves of
// the current line still made.
int alphabeta(int alpha, int beta, int depth, tagLINE* line, int p);

// One more node, for both searches; at every multiple of
// TIME_CHECK_INTERVAL the clock is read and a passed stop time throws
// search_timeout (stop_search = 1).
void count_node();

// The rules of one node, apart so that they can be checked one by one.
// Null move allowed here, apart from the ply range and the move just before,
// which makenullmove checks.
bool null_move_allowed(int depth, int alpha, bool in_check);
// Plies the move just made (ply is the child's) is searched less deep: 1,
// 0 for the only legal move out of check, one less again for a recapture of
// a like piece at depth 1 outside the null-move search.
int move_decrement(bool only_move, bool in_check, int depth, int p);

// The aspiration window of the iterations, in minki and maxkf.
enum aspiration_step {
    WINDOW_HELD,       // the score is inside: the next window is centred on it
    WINDOW_WIDENED,    // a failure: the table is emptied, search this depth again
    WINDOW_ABANDONED,  // the fourth failure: go on with the next depth as things stand
};
// What the iteration does with the score s of its root search after
// `failures` earlier failures at this depth; sets the window (and
// eval_global when the score held) accordingly.
aspiration_step aspiration_after(int s, int failures);
