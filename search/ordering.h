// search/ordering.h: what orders the moves: killer moves, history tables,
// the principal-variation bonus, lazy selection, and the forced-reply test.
// Editions: 3.5, 3.0; 2.3 orders its moves in editions/v23/search23.cpp.
#pragma once
#include "board/position.h"

// The bands of the move scorers, highest first. A move scores its band plus
// its own small gain, so a move of a higher band is always tried earlier.
constexpr int ORDER_HASH_MOVE = 250000;        // the table's best move of the position
constexpr int ORDER_WINNING_CAPTURE = 145000;  // a capture that does not lose material, plus its gain
constexpr int ORDER_KILLER = 100000;
constexpr int ORDER_SAFE_PROMOTION = 50000;    // a promotion the opponent cannot take at once, plus the piece
// Past SORT_FULL_POSITIONS of a list only moves scoring above this (no quiet
// move by its history alone) are still looked for.
constexpr int ORDER_LATE_MINIMUM = 999;

struct killer_rec {
    move_bytes m;
    int count;
};

// Per thread: each search thread has its own.
extern constinit thread_local killer_rec killers[MAX_PLY][2];   // two killer moves per ply
extern constinit thread_local int history[4096];                // [from * 64 + to]: cutoff depth summed this search
extern constinit thread_local int ply0_history[4096];           // [from * 64 + to]: score of each root move this search
extern constinit thread_local int follow_pv;                    // still walking down the previous principal variation

void sort(int from);          // brings the best remaining move of this ply to index `from`
int  next_to_sort(int from);  // the index of the move sort(from) brings there
void killer_update(int i);    // move i of the list becomes a killer of this ply
void sort_pv();               // principal-variation move of this ply gets its bonus
int  only_one();              // 1 when this ply's position has exactly one legal move
void clear_ordering();        // empties killers and both history tables
