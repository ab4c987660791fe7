// search/ordering.h: what orders the moves: killer moves, history tables,
// the principal-variation bonus, lazy selection, and the forced-reply test.
#pragma once
#include "board/position.h"

struct killer_rec {
    move_bytes m;
    int count;
};

extern killer_rec killers[MAX_PLY][2];   // two killer moves per ply
extern int history[4096];                // [from * 64 + to]: cutoff depth summed this search
extern int ply0_history[4096];           // [from * 64 + to]: score of each root move this search
extern int follow_pv;                    // still walking down the previous principal variation

void sort(int from);          // brings the best remaining move of this ply to index `from`
void killer_update(int i);    // move i of the list becomes a killer of this ply
void sort_pv();               // principal-variation move of this ply gets its bonus
int  only_one();              // 1 when this ply's position has exactly one legal move
void clear_ordering();        // empties killers and both history tables
