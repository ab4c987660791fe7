// hash/keys.h: the engine's own random numbers and the three position keys.
// The keys start at 0 at every set-up and change only by piece toggles, so
// equal keys mean equal placements reached from the same set-up position.
// Editions: 3.5, 3.0; edition 2.3 keeps its own keys in editions/v23/game.h.
#pragma once
#include <cstdint>
#include "board/position.h"

// Shared: the piece keys and their random generator, drawn by the main
// thread at a set-up, between searches (made per thread they would be
// zeros in a helper). Per thread: the position's keys.
extern uint64_t hash_checksum[64][2][6];   // [square][colour][piece] keys, upper half zero
extern const uint64_t side_corr[2];
extern constinit thread_local uint64_t master_checksum;   // whole position: transposition table and repetitions
extern constinit thread_local uint64_t master_pawn;       // pawns of both sides
extern constinit thread_local uint64_t master_material;   // every other man, kings included

// Generator state: the start table, the working table, its two lags and
// whether the working table has been filled (on the first call).
extern const uint32_t rand_x[55];
extern uint32_t rand_y[55];
extern int rand_j, rand_k;
extern int rand_started;

uint64_t myrand();   // next value of a lagged-Fibonacci generator (lags 24, 55), 32 bits wide
void hash_init();    // fresh piece keys, zero keys, all hash tables emptied
// A man of colour c and kind p is put on or taken off square sq; the key
// takes `side` and `ep` as they stand at this moment. Inline: makemove
// calls it for every man it moves.
inline void toggle_piece_key(int sq, int c, int p) {
    const uint64_t key = hash_checksum[sq][c][p];
    master_checksum ^= key ^ side_corr[side] ^ uint64_t(int64_t(ep));
    (p == PAWN ? master_pawn : master_material) ^= key;
}
// master_checksum as it will be once m is made, without making it: the
// search starts loading that position's table slot ahead of the move.
uint64_t key_after(move_bytes m);
