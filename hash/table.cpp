// hash/table.cpp: probing and storing the transposition table.
#include "hash/table.h"
#include "hash/keys.h"
#include <cstring>

hash_entry hash_table[HASH_SIZE];
int hash_seq;
long impactos_hash;
long pifias_hash;
long colisiones_hash;
long hash_impacts, hash_nofound;

// The home entry, or when another key holds it, its neighbour: below it with
// light to move, above with dark. With light to move the neighbour of entry 0
// would lie before the table, so the home entry is used there.
hash_entry* hash_slot_pointer() {
    const int home = int(master_checksum % HASH_MODULUS) + 4 * side;
    hash_entry* e = &hash_table[home];
    if (e->checksum == 0 || e->checksum == master_checksum) return e;
    if (side == LIGHT) return home > 0 ? e - 1 : e;
    return e + 1;
}

int hash_search(int* score, int depth, int alpha, int beta) {
    const hash_entry* e = hash_slot_pointer();
    if (e->checksum != master_checksum) return 0;
    if (e->depth < depth) {
        pifias_hash++;
        return 0;
    }
    // Depth 0 also keeps a freshly set-up position (key 0) off empty entries.
    if (e->depth == 0) return 0;
    // Scores near mate depend on the path; never take them from the table.
    if (e->score < -8000 || e->score > 8000) return 0;
    *score = e->score;
    const bool answers = e->bound == HASH_EXACT || (e->bound == HASH_LOWER && *score >= beta) ||
                         (e->bound == HASH_UPPER && *score <= alpha);
    if (!answers) return 0;
    impactos_hash++;
    return 1;
}

void hash_update(int depth, int score, int alpha, int beta, long effort) {
    if (depth == 0) return;
    hash_entry* e = hash_slot_pointer();
    // Cheaper searches do not push out entries of the last five searches.
    if (effort < e->effort && e->generation + 5 >= hash_seq) return;
    e->generation = hash_seq;
    if (e->checksum != master_checksum) {
        e->move = move_bytes{};
        e->checksum = master_checksum;
        if (master_checksum != 0) colisiones_hash++;
    }
    e->depth = int8_t(depth);
    e->score = score;
    e->effort = effort;
    e->bound = score >= beta ? HASH_LOWER : score <= alpha ? HASH_UPPER : HASH_EXACT;
}

void hash_move_update(move_bytes m) {
    hash_entry* e = hash_slot_pointer();
    if (e->checksum == master_checksum) e->move = m;
}

void clear_hash() {
    std::memset(hash_table, 0, sizeof hash_table);
}
