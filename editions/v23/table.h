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
#include <bit>
#include <cstdint>
#include <optional>

// Bound kinds of an entry.
constexpr int TT_EXACT = 1, TT_UPPER = 2, TT_LOWER = 3;
// The gain recorded for the first move that becomes best at a node.
constexpr int TT_FIRST_GAIN = 10000;

// An entry as the search reads and writes it: eight 32-bit words.
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

// An entry as the table holds it: the same eight words as four 64-bit words
// (depth and bound, score and gain, age and move), each read and written
// on its own with a relaxed atomic, as the threads of a search share the
// table. The first word is the check key XORed with the other three, so an
// entry whose words come from two different stores (two threads writing the
// slot at once) gives a check key that is neither position's and is not
// taken for either. All zeros is an empty slot: check key 0, depth 0, no move.
struct tt_slot_words {
    uint64_t word[4];
};
static_assert(sizeof(tt_slot_words) == sizeof(tt_entry));

namespace tt_words {
static_assert(alignof(tt_slot_words) >= alignof(uint64_t));   // each word read and written whole
inline uint64_t pair(int32_t low, int32_t high) { return uint64_t(uint32_t(low)) | uint64_t(uint32_t(high)) << 32; }
inline int32_t low_half(uint64_t w) { return int32_t(uint32_t(w)); }
inline int32_t high_half(uint64_t w) { return int32_t(uint32_t(w >> 32)); }
}  // namespace tt_words

// Every word of a slot, as one entry (inlined, so that a probe keeps the
// fields it reads in registers).
[[gnu::always_inline]] inline tt_entry tt_decode(tt_slot_words& slot) {
    using namespace tt_words;
    const uint64_t w0 = load_table_word(slot.word[0]), w1 = load_table_word(slot.word[1]);
    const uint64_t w2 = load_table_word(slot.word[2]), w3 = load_table_word(slot.word[3]);
    return tt_entry{w0 ^ w1 ^ w2 ^ w3, low_half(w1),  high_half(w1),
                    low_half(w2),      high_half(w2), low_half(w3),
                    __builtin_bit_cast(move_bytes, uint32_t(w3 >> 32))};
}

// A whole entry into a slot.
[[gnu::always_inline]] inline void tt_encode(tt_slot_words& slot, const tt_entry& e) {
    using namespace tt_words;
    const uint64_t w1 = pair(e.depth, e.bound), w2 = pair(e.score, e.gain);
    const uint64_t w3 = pair(e.age, __builtin_bit_cast(int32_t, e.move));
    store_table_word(slot.word[0], e.check ^ w1 ^ w2 ^ w3);
    store_table_word(slot.word[1], w1);
    store_table_word(slot.word[2], w2);
    store_table_word(slot.word[3], w3);
}

// A table of N megabytes holds the largest power of two of entries that
// fits N x TT_ENTRIES_PER_MB entries; up to TT_MAX_MB (64 GiB).
constexpr long TT_ENTRIES_PER_MB = 1L << 15;
constexpr long TT_MAX_MB = TABLE_MAX_MB;
#ifndef ZORVU_SMALL_TABLES
static_assert(EDITION_HASH_MB * TT_ENTRIES_PER_MB == TT_SLOTS);
#endif

// Shared by the threads of a search and written by all of them: the table
// (its entries through the relaxed atomics above; the pointer, mask, size
// and memory are set between searches only). Per thread: the counters
// (the statistics print the main thread's).
extern tt_slot_words* tt_table;
extern uint64_t tt_slot_mask;      // the slot count less 1
extern table_memory tt_memory;     // the table's memory and its written blocks
extern long tt_size_mb;
// Probes that found a deep enough entry, and the others; 64-bit, as they
// grow with the nodes.
extern constinit thread_local std::int64_t tt_hits, tt_misses;

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
inline tt_slot_words& tt_position_slot() { return tt_table[index_key & tt_slot_mask]; }
// What the table holds in the slot the current position's index key
// selects, whichever position that is (a copy: the table may change after).
tt_entry tt_slot();
// The current position's entry when it was stored at least `depth` deep
// (and, when this_search_only, by the current search); otherwise none.
// Counts a hit or a miss.
std::optional<tt_entry> tt_probe(int depth, bool this_search_only = false);
// Stores the score of the current position with its bound relative to the
// window (alpha, beta). A shallower result does not push out an entry of
// this search; anything else is overwritten. A new position clears the move.
void tt_store(int depth, int score, int alpha, int beta);
// Makes m the best move of the current position, if it has an entry.
void tt_record_move(move_bytes m, int gain);
// The stored best move of the current position (0 when none) and its gain.
// Only a move of the position's own generated list may be played: the
// search compares it with those.
inline move_bytes tt_best_move(int* gain) {
    const tt_entry e = tt_decode(tt_position_slot());
    if (e.check != check_key || move_value(e.move) == 0) {
        *gain = 0;
        return move_bytes{};
    }
    *gain = e.gain;
    return e.move;
}
