// editions/v30/score.h: edition 3.0's exchange estimate and move ordering
// score, read from the two flag maps of the generation.
// Editions: 3.0.
#pragma once
#include "board/position.h"

int sce(int from, int to, int fx, int fs);   // fx, fs: the two sides' flags of the destination

// What the ordering score reads that stays the same for every move of one
// generation: the two flag maps and the table's best move, looked up once.
struct order_context {
    const int* fx;           // the opponent's flags
    const int* fs;           // the mover's flags
    bool table_move_known;   // the position's entry at hash_ix is deep enough to name its move
    move_bytes table_move;
};
// Reads hash_ix (0: no table move and no quiet terms) and its entry.
order_context order_context_for(const int* flags_x, const int* flags_s);
int scoring(move_bytes m, const order_context& c);
void score_moves(int begin, int end, const order_context& c);   // gen_dat[begin, end) in order
// The score of a move when hash_ix is 0 (the quiescence search), from the
// opponent's and the mover's flag words of its destination.
int capture_order(move_bytes m, int xt, int st);
// The same as scoring for one move alone, the context read on the spot.
int scoring(move_bytes m, const int* flags_x, const int* flags_s);
