// hash/evalcache.cpp: probing and storing the pawn and material tables.
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include <cstring>

constinit thread_local eval_cache_entry pawn_table[EVAL_CACHE_SIZE]{};
constinit thread_local eval_cache_entry material_table[EVAL_CACHE_SIZE]{};
constinit thread_local bool pawn_table_dirty{}, material_table_dirty{};
constinit thread_local std::int64_t hp_impacts{}, hp_nofound{};
constinit thread_local std::int64_t hm_impacts{}, hm_nofound{};

namespace {

int probe(const eval_cache_entry* table, uint64_t key, int* value) {
    const eval_cache_entry& e = table[key % EVAL_CACHE_SIZE];
    if (!e.filled || e.key != key) return 0;
    *value = e.value;
    return 1;
}

void store(eval_cache_entry* table, bool* dirty, uint64_t key, int value) {
    table[key % EVAL_CACHE_SIZE] = eval_cache_entry{key, value, 1};
    *dirty = true;
}

}  // namespace

int hp_search(int* value) { return probe(pawn_table, master_pawn, value); }
void hp_update(int value) { store(pawn_table, &pawn_table_dirty, master_pawn, value); }
int hm_search(int* value) { return probe(material_table, master_material, value); }
void hm_update(int value) { store(material_table, &material_table_dirty, master_material, value); }

int hp_probe(int* value) {
    const int hit = hp_search(value);
    (hit ? hp_impacts : hp_nofound)++;
    return hit;
}

int hm_probe(int* value) {
    const int hit = hm_search(value);
    (hit ? hm_impacts : hm_nofound)++;
    return hit;
}

void clear_p_hash() { clear_table(pawn_table, sizeof pawn_table, &pawn_table_dirty); }
void clear_m_hash() { clear_table(material_table, sizeof material_table, &material_table_dirty); }
