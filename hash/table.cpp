// hash/table.cpp: probing the transposition table, recording best moves, clearing it.
#include "hash/table.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include <cstring>
#ifdef __linux__
#include <sys/mman.h>
#endif

// Aligned to a huge page: the table is read at random, and on large pages
// its probes miss the address cache far less often.
alignas(HUGE_PAGE_BYTES) hash_entry hash_table[HASH_SIZE];
bool hash_table_dirty;
int hash_seq;
long impactos_hash;
long pifias_hash;
long colisiones_hash;
long hash_impacts, hash_nofound;

int hash_search(int* score, int depth, int alpha, int beta) {
    const hash_entry* e = hash_slot_pointer();
    if (e->checksum != master_checksum) return 0;
    if (e->depth < depth) {
        pifias_hash++;
        return 0;
    }
    // Depth 0 also keeps a freshly set-up position (key 0) off empty entries.
    if (e->depth == 0) return 0;
    if (e->score < -TABLE_SCORE_LIMIT || e->score > TABLE_SCORE_LIMIT) return 0;
    *score = e->score;
    const bool answers = e->bound == HASH_EXACT || (e->bound == HASH_LOWER && *score >= beta) ||
                         (e->bound == HASH_UPPER && *score <= alpha);
    if (!answers) return 0;
    impactos_hash++;
    return 1;
}

void hash_move_update(move_bytes m) {
    hash_entry* e = hash_slot_pointer();
    if (e->checksum != master_checksum) return;
    e->move = m;
    hash_table_dirty = true;
}

void clear_table(void* start, size_t bytes, bool* dirty) {
#ifdef MADV_HUGEPAGE
    // Asked before the table is first touched, too; only advice: without it
    // the table works the same. A table smaller than a large page has
    // nothing to gain.
    if (bytes >= HUGE_PAGE_BYTES) madvise(start, bytes, MADV_HUGEPAGE);
#endif
    if (!*dirty) return;
    std::memset(start, 0, bytes);
    *dirty = false;
}

void clear_hash() { clear_table(hash_table, sizeof hash_table, &hash_table_dirty); }

void reset_tables() {
    hash_seq = 0;
    rand_started = 0;   // the next set-up draws the keys a new run draws first
    clear_hash();
    clear_p_hash();
    clear_m_hash();
    clear_table_counts();
}

void clear_table_counts() {
    impactos_hash = pifias_hash = colisiones_hash = hash_impacts = hash_nofound = 0;
    hp_impacts = hp_nofound = hm_impacts = hm_nofound = 0;
}
