// hash/table.h: the transposition table: per position a bounded score, its
// depth, the best move and the search effort, in a fixed array addressed by
// master_checksum and the side to move. Probing and clearing are the same in
// editions 3.5 and 3.0; the slot rule and the replacement rule are each one's.
// Editions: 3.5, 3.0; the slot and replacement rules are hash/replace.cpp (3.5) and
// editions/v30/replace.cpp (3.0); 2.3 has editions/v23/table.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include "board/position.h"

enum { HASH_EXACT = 1, HASH_UPPER = 2, HASH_LOWER = 3 };
// Scores beyond +-TABLE_SCORE_LIMIT are mates, which depend on the path:
// the table never answers with them.
constexpr int TABLE_SCORE_LIMIT = 8000;

// 32 bytes, so that two entries share a 64-byte cache line and a probe of
// a slot and its neighbour reads one line, or two.
struct alignas(32) hash_entry {
    uint64_t checksum;   // 0 also marks an empty entry
    int64_t effort;      // nodes the search of the position took
    int score;
    int generation;      // hash_seq when last written
    move_bytes move;     // best move, 0 when none
    int8_t depth;
    uint8_t bound;       // HASH_EXACT, HASH_UPPER or HASH_LOWER
    int8_t alpha_node;   // no move raised alpha here (kept by edition 3.0)
};
static_assert(sizeof(hash_entry) == 32);

constexpr size_t HUGE_PAGE_BYTES = size_t(1) << 21;
extern hash_entry hash_table[HASH_SIZE];
// Set by every write into the table; clear_hash clears it only when set, so
// a table emptied again before any use (set-ups come in twos and threes)
// costs nothing. Whatever writes hash_table directly sets it too.
extern bool hash_table_dirty;
extern int hash_seq;          // search generation: +1 per search, 0 at set-up
extern long impactos_hash;    // probes that answered
extern long pifias_hash;      // probes that found the position searched too shallowly
extern long colisiones_hash;  // stores that took a slot over for a new key
extern long hash_impacts, hash_nofound;

hash_entry* hash_slot_pointer();   // the entry the slot rule picks for the current position
int  hash_search(int* score, int depth, int alpha, int beta);   // 1 when the entry decides the window
void hash_update(int depth, int score, int alpha, int beta, long effort);
void hash_move_update(move_bytes m);   // best move of the current position, if it has an entry
void clear_hash();
// Empties a table when *dirty says it was written since its last clearing,
// and asks the system for large pages under it.
void clear_table(void* start, size_t bytes, bool* dirty);
// The three tables empty, their counts, the generation and the key generator
// as a freshly started program has them.
void reset_tables();
void clear_table_counts();   // the hits, misses and collisions of the three tables


// Starts loading the home slot of the position with key `key` and `to_move`
// to move, so that a probe issued a while later finds it in the cache (and
// half the time its neighbour in the same line). Only a hint: nothing changes.
inline void prefetch_slot(uint64_t key, int to_move) {
    __builtin_prefetch(&hash_table[key % HASH_MODULUS + 4 * to_move]);
}
