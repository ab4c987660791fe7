// search/quiesce.h: the capture search at the leaves of the full-width
// search, so that only quiet positions are evaluated.
#pragma once

constexpr int QUIESCE_PLIES = 30;   // the limit every caller passes as qmax

extern long qnodes;                 // legal moves made here
extern long cutoffs, firstmove;     // beta cutoffs, and those on the first move tried

int quiesce(int alpha, int beta, int qply, int qmax);
