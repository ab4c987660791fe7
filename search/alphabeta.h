// search/alphabeta.h: the full-width search: zero-window alpha-beta with
// razoring, null move, fractional extensions, late-move reductions and the
// transposition table; its principal variation and statistics.
// Editions: 3.5; 3.0 has editions/v30/alphabeta.h, 2.3 editions/v23/search23.h.
#pragma once
#include "search/state.h"

constexpr int TIME_CHECK_NODES = 9127;   // the clock is read once per this many interior nodes

// Per thread: each search thread has its own.
extern constinit thread_local int chk_counter;        // nodes since the clock was last read

// Score of the position for the side to move; line receives the best line
// below it. May not return: on time-out it throws search_timeout with the
// moves of the current line still made.
int alphabeta(int alpha, int beta, int depth, tagLINE* line, int credit);
// The rules of one node, apart so that they can be checked one by one.
// Null move allowed here, apart from the ply range and the move just before,
// which makenullmove checks.
bool null_move_allowed(int depth, int alpha, int beta, bool in_check);
// Extension credit of the move just made (ply is the child's); 128 is one ply.
int extension_credit(move_bytes m, bool in_check, bool only_move, int depth, int nullscore, int credit);
// Plies the move just made is searched less deep: 0 extended, 1, or 2 reduced.
int depth_decrement(bool extended, bool in_check, int depth, int score, int fails);
