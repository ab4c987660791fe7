// hash/table.h: the transposition table: per position a bounded score, its
// depth, the best move and the search effort, in an array allocated at run
// time (its size in megabytes, UCI's Hash) and addressed by master_checksum
// and the side to move. Probing, sizing and clearing are the same in
// editions 3.5 and 3.0; the slot rule and the replacement rule are each one's.
// Editions: 3.5, 3.0; the slot and replacement rules are hash/replace.cpp (3.5) and
// editions/v30/replace.cpp (3.0); 2.3 has editions/v23/table.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include "board/position.h"
#include "hash/table_memory.h"

enum { HASH_EXACT = 1, HASH_UPPER = 2, HASH_LOWER = 3 };
// Scores beyond +-TABLE_SCORE_LIMIT are mates, which depend on the path:
// the table never answers with them.
constexpr int TABLE_SCORE_LIMIT = 8000;

// What an entry holds, as the search reads and writes it.
struct hash_entry {
    uint64_t checksum = 0;   // 0 also marks an empty entry
    int64_t effort = 0;      // nodes the search of the position took
    int score = 0;
    int generation = 0;      // hash_seq when last written
    move_bytes move{};       // best move, 0 when none
    int8_t depth = 0;
    uint8_t bound = 0;       // HASH_EXACT, HASH_UPPER or HASH_LOWER
    int8_t alpha_node = 0;   // no move raised alpha here (kept by edition 3.0)
};

// An entry in the table: four words, each read and written whole (relaxed
// atomics), since several search threads share the table. The first word
// is the checksum XORed with the words of what a probe answers with (score,
// generation, move, depth, bound): an entry written half by one thread and
// half by another no longer gives its position's checksum, and is taken for
// another position's. The effort (second word) only weighs a replacement
// and is left out of it. 32 bytes, so that two entries share a
// 64-byte cache line and a probe of a slot and its neighbour reads one
// line, or two. All zero: empty.
struct alignas(32) hash_slot {
    uint64_t word[4];
};
static_assert(sizeof(hash_slot) == 32);

[[gnu::always_inline]] inline uint64_t slot_checksum(const hash_slot* s) {
    return load_table_word(s->word[0]) ^ load_table_word(s->word[2]) ^ load_table_word(s->word[3]);
}

[[gnu::always_inline]] inline hash_entry read_slot(const hash_slot* s) {
    const uint64_t effort = load_table_word(s->word[1]), scores = load_table_word(s->word[2]), rest = load_table_word(s->word[3]);
    hash_entry e;
    e.checksum = load_table_word(s->word[0]) ^ scores ^ rest;
    e.effort = int64_t(effort);
    e.score = int(uint32_t(scores));
    e.generation = int(uint32_t(scores >> 32));
    e.move = to_move(uint32_t(rest));
    e.depth = int8_t(rest >> 32);
    e.bound = uint8_t(rest >> 40);
    e.alpha_node = int8_t(rest >> 48);
    return e;
}

[[gnu::always_inline]] inline void write_slot(hash_slot* s, const hash_entry& e) {
    const uint64_t effort = uint64_t(e.effort);
    const uint64_t scores = uint64_t(uint32_t(e.score)) | uint64_t(uint32_t(e.generation)) << 32;
    const uint64_t rest = uint64_t(move_value(e.move)) | uint64_t(uint8_t(e.depth)) << 32 | uint64_t(e.bound) << 40 |
                          uint64_t(uint8_t(e.alpha_node)) << 48;
    store_table_word(s->word[0], e.checksum ^ scores ^ rest);
    store_table_word(s->word[1], effort);
    store_table_word(s->word[2], scores);
    store_table_word(s->word[3], rest);
}

constexpr size_t HUGE_PAGE_BYTES = TABLE_ALIGNMENT;

// A table of N megabytes holds N x HASH_ENTRIES_PER_MB - 1 entries; the slot
// rule takes keys modulo HASH_MODULUS_MARGIN less than that, so that the
// largest home slot plus 4 (dark to move) and its neighbour lie inside.
constexpr long HASH_ENTRIES_PER_MB = 1L << 15;
constexpr long HASH_MODULUS_MARGIN = 10;
// Up to 64 GiB: any slot then fits an int.
constexpr long HASH_MAX_MB = TABLE_MAX_MB;
#ifndef ZORVU_SMALL_TABLES
static_assert(EDITION_HASH_MB * HASH_ENTRIES_PER_MB - 1 == HASH_SIZE);
static_assert(HASH_SIZE - HASH_MODULUS_MARGIN == long(HASH_MODULUS));
#endif
static_assert(HASH_MAX_MB * HASH_ENTRIES_PER_MB - 1 <= INT32_MAX);

// The remainder by a divisor fixed at run time, as exact as `%` for every
// 64-bit dividend but without a division: the quotient is the high half of
// a product with a precomputed reciprocal, corrected and shifted (the
// round-up method of Granlund and Montgomery, for divisors of 2 up to 2^63).
struct divisor_reciprocal {
    uint64_t divisor;
    uint64_t magic;    // floor(2^64 x (2^l - divisor) / divisor) + 1, l = ceil(log2 divisor)
    unsigned shift;    // l - 1
};
divisor_reciprocal reciprocal_of(uint64_t divisor);
// The high 64 bits of a 64 x 64-bit product. A 32-bit x86 build has no
// 128-bit integers: it puts the product together from 32-bit halves.
inline uint64_t product_high_half(uint64_t a, uint64_t b) {
#ifdef __SIZEOF_INT128__
    __extension__ typedef unsigned __int128 wide;
    return uint64_t((wide(a) * b) >> 64);
#else
    const uint64_t a_low = uint32_t(a), a_high = a >> 32, b_low = uint32_t(b), b_high = b >> 32;
    const uint64_t high_low = a_high * b_low;
    // At most (2^32 - 1) x (2^32 + 1): it fits.
    const uint64_t middle = (a_low * b_low >> 32) + uint32_t(high_low) + a_low * b_high;
    return a_high * b_high + (high_low >> 32) + (middle >> 32);
#endif
}
inline uint64_t remainder_by(uint64_t n, const divisor_reciprocal& r) {
    const uint64_t t = product_high_half(n, r.magic);
    const uint64_t q = (t + ((n - t) >> 1)) >> r.shift;
    return n - q * r.divisor;
}

// Shared and written: the table, its generation and written flag. Shared,
// set between searches: its size. Per thread: the statistics (the main
// thread's are the ones reported).
extern hash_slot* hash_table;
extern long hash_entries;                   // entries in the table
extern divisor_reciprocal hash_modulus;     // the slot rule's modulus, hash_entries - HASH_MODULUS_MARGIN
extern table_memory hash_memory;            // the table's memory and its written blocks
// Set by whatever writes hash_table without marking the entry it writes
// (tests that plant entries): the next clearing then clears the whole table.
extern bool hash_table_dirty;
extern int hash_seq;          // search generation: +1 per search, 0 at set-up
// Probe counts grow with the nodes, past 2^31 in a long search: 64-bit.
extern constinit thread_local std::int64_t impactos_hash;    // probes that answered
extern constinit thread_local std::int64_t pifias_hash;      // probes that found the position searched too shallowly
extern constinit thread_local std::int64_t colisiones_hash;  // stores that took a slot over for a new key
extern constinit thread_local std::int64_t hash_impacts, hash_nofound;

// The home slot of a key, before the side to move's offset: key modulo the modulus.
inline long hash_home(uint64_t key) { return long(remainder_by(key, hash_modulus)); }
// Every write into the table goes through this (or sets hash_table_dirty),
// so that clear_hash knows what to clear.
inline void mark_hash_entry(const hash_slot* e) { mark_table_entry(&hash_memory, size_t(e - hash_table)); }

hash_slot* hash_slot_pointer();   // the slot the slot rule picks for the current position
int  hash_search(int* score, int depth, int alpha, int beta);   // 1 when the entry decides the window
void hash_update(int depth, int score, int alpha, int beta, std::int64_t effort);
void hash_move_update(move_bytes m);   // best move of the current position, if it has an entry
// Empties the table. It costs what was written since the last clearing:
// the written blocks are cleared, not the whole table.
void clear_hash();
// The search's own clearing, after its window failed: with helpers
// searching, the table they fill for each other stays as it is.
void clear_hash_in_search();
// Empties a table when *dirty says it was written since its last clearing,
// and asks the system for large pages under it (the pawn and material tables).
void clear_table(void* start, size_t bytes, bool* dirty);
// The three tables empty, their counts, the generation and the key generator
// as a freshly started program has them; the table keeps its size.
void reset_tables();
void clear_table_counts();   // the hits, misses and collisions of the three tables

// The table's size in megabytes. A new size allocates a new, empty table
// once; when the memory cannot be had (or mb is out of 1 to HASH_MAX_MB)
// the table stays as it was and the answer is false. The same size empties
// the table.
bool set_hash_size(long mb);
extern long hash_size_mb;
// Per mille of the first HASH_FILL_SAMPLE entries that the current search
// (generation hash_seq) wrote.
constexpr long HASH_FILL_SAMPLE = 1000;
int hash_fill();

// Starts loading the home slot of the position with key `key` and `to_move`
// to move, so that a probe issued a while later finds it in the cache (and
// half the time its neighbour in the same line). Only a hint: nothing changes.
inline void prefetch_slot(uint64_t key, int to_move) {
    __builtin_prefetch(&hash_table[hash_home(key) + 4 * to_move]);
}
