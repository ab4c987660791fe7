// editions/v23/table.h: edition 2.3's transposition table: one entry per
// slot, addressed by the index key, confirmed by the check key, aged by the
// search counter; it also keeps the best move of a position and what that
// move gained over the move that was best before it. Its size is set in
// megabytes (UCI's Hash) and allocated at run time.
// Editions: 2.3.
#pragma once
#include "board/position.h"
#include "editions/v23/game.h"
#include "hash/table_memory.h"
#include <cstdint>

// Bound kinds of an entry.
constexpr int TT_EXACT = 1, TT_UPPER = 2, TT_LOWER = 3;
// The gain recorded for the first move that becomes best at a node.
constexpr int TT_FIRST_GAIN = 10000;

// Eight 32-bit words.
struct tt_entry {
    uint64_t check;    // check key of the position; 0 is also an empty slot
    int32_t depth;     // depth of the node that stored it (0: move only, no score)
    int32_t bound;     // TT_EXACT, TT_UPPER or TT_LOWER
    int32_t score;
    int32_t gain;      // what the stored move gained over the previous best
    int32_t age;       // search_count when the score was stored
    move_bytes move;   // best move of the position, 0 when none
};
static_assert(sizeof(tt_entry) == 8 * sizeof(int32_t));

// A table of N megabytes holds the largest power of two of entries that
// fits N x TT_ENTRIES_PER_MB entries; up to TT_MAX_MB (64 GiB).
constexpr long TT_ENTRIES_PER_MB = 1L << 15;
constexpr long TT_MAX_MB = TABLE_MAX_MB;
#ifndef ZORVU_SMALL_TABLES
static_assert(EDITION_HASH_MB * TT_ENTRIES_PER_MB == TT_SLOTS);
#endif

extern tt_entry* tt_table;
extern uint64_t tt_slot_mask;      // the slot count less 1
extern table_memory tt_memory;     // the table's memory and its written blocks
extern long tt_size_mb;
extern long tt_hits, tt_misses;   // probes that found a deep enough entry, and the others

// Empties the table. It costs what was written since the last clearing.
void clear_table();
// A new size in megabytes: a new, empty table; false, with the table as it
// was, when the memory cannot be had or mb is out of 1 to TT_MAX_MB. The
// same size empties the table.
bool set_table_size(long mb);
// Per mille of the first TT_FILL_SAMPLE entries stored by the current search.
constexpr long TT_FILL_SAMPLE = 1000;
int table_fill();
// Starts bringing the current position's entry into the cache, so that a
// look-up a little later does not wait for memory.
inline void tt_prefetch() { __builtin_prefetch(&tt_table[index_key & tt_slot_mask]); }
tt_entry* tt_slot();   // the entry the current position's index key selects
// The current position's entry when it was stored at least `depth` deep
// (and, when this_search_only, by the current search); otherwise nullptr.
// Counts a hit or a miss.
const tt_entry* tt_probe(int depth, bool this_search_only = false);
// Stores the score of the current position with its bound relative to the
// window (alpha, beta). A shallower result does not push out an entry of
// this search; anything else is overwritten. A new position clears the move.
void tt_store(int depth, int score, int alpha, int beta);
// Makes m the best move of the current position, if it has an entry.
void tt_record_move(move_bytes m, int gain);
// The stored best move of the current position (0 when none) and its gain.
move_bytes tt_best_move(int* gain);
