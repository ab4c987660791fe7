// hash/evalcache.h: the pawn table and the material table, direct-mapped
// caches of the pawn-structure score (keyed by master_pawn) and of the piece
// score (keyed by master_material).
// Editions: 3.5, 3.0.
#pragma once
#include <cstdint>
#include "hash/keys.h"

struct eval_cache_entry {
    uint64_t key;
    int value;
    int filled;   // 0 in an entry never written: key 0 is a real key, too
};

#ifdef ZORVU_SMALL_TABLES
constexpr int EVAL_CACHE_SIZE = 1023;   // the fuzz build's, cleared at once
#else
constexpr int EVAL_CACHE_SIZE = 65535;
#endif

// Per thread: each search thread has its own caches and counts.
extern constinit thread_local eval_cache_entry pawn_table[EVAL_CACHE_SIZE];
extern constinit thread_local eval_cache_entry material_table[EVAL_CACHE_SIZE];
// Set by every store, as hash_table_dirty for the transposition table.
extern constinit thread_local bool pawn_table_dirty, material_table_dirty;
// Pawn table hits and misses, counted by the evaluation, and the material
// table's; 64-bit, as they grow with the nodes.
extern constinit thread_local std::int64_t hp_impacts, hp_nofound;
extern constinit thread_local std::int64_t hm_impacts, hm_nofound;

int  hp_search(int* value);   // 1 and the cached score when the pawn table holds master_pawn
void hp_update(int value);
int  hm_search(int* value);   // the same on the material table with master_material
void hm_update(int value);
// The evaluation's look-ups: hp_search / hm_search that also count the hit or miss.
int  hp_probe(int* value);
int  hm_probe(int* value);
// Starts loading the entries of master_pawn and master_material, which the
// evaluation reads; only a hint.
inline void prefetch_eval_caches() {
    __builtin_prefetch(&pawn_table[master_pawn % EVAL_CACHE_SIZE]);
    __builtin_prefetch(&material_table[master_material % EVAL_CACHE_SIZE]);
}
void clear_p_hash();
void clear_m_hash();
