// search/alphabeta.h: the principal-variation line and the statistics the
// search and the move scoring keep for the front end.
#pragma once
#include "board/position.h"

constexpr int MAX_LINE = 60;

struct tagLINE {
    int count;
    move_bytes moves[MAX_LINE];
};

extern tagLINE var_princ;   // the root line; moves[0] is the search result
extern long chash[12];      // counters: 0 null-move cutoffs, 1 hash moves, 4 razoring, 10 and 11 quiescence skips
extern long branch[20];     // branch[k]: nodes with 3k + 1 to 3k + 3 legal moves
