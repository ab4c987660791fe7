// hash/evalcache.cpp: probing and storing the pawn and material tables.
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include <cstring>

alignas(HUGE_PAGE_BYTES) eval_cache_entry pawn_table[EVAL_CACHE_SIZE];
alignas(HUGE_PAGE_BYTES) eval_cache_entry material_table[EVAL_CACHE_SIZE];
long hp_impacts, hp_nofound;
long hm_impacts, hm_nofound;

namespace {

int probe(const eval_cache_entry* table, uint64_t key, int* value) {
    const eval_cache_entry& e = table[key % EVAL_CACHE_SIZE];
    if (!e.filled || e.key != key) return 0;
    *value = e.value;
    return 1;
}

void store(eval_cache_entry* table, uint64_t key, int value) {
    table[key % EVAL_CACHE_SIZE] = eval_cache_entry{key, value, 1};
}

}  // namespace

int hp_search(int* value) { return probe(pawn_table, master_pawn, value); }
void hp_update(int value) { store(pawn_table, master_pawn, value); }
int hm_search(int* value) { return probe(material_table, master_material, value); }
void hm_update(int value) { store(material_table, master_material, value); }

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

void clear_p_hash() {
    advise_huge_pages(pawn_table, sizeof pawn_table);
    std::memset(pawn_table, 0, sizeof pawn_table);
}
void clear_m_hash() {
    advise_huge_pages(material_table, sizeof material_table);
    std::memset(material_table, 0, sizeof material_table);
}
