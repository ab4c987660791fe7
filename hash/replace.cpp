// hash/replace.cpp: where a position's entry lies and when a store may
// replace it: a home slot with one alternative, and effort and age.
#include "hash/table.h"
#include "hash/keys.h"

// The home entry, or when another key holds it, its neighbour: below it with
// light to move, above with dark. With light to move the neighbour of entry 0
// would lie before the table, so the home entry is used there.
hash_entry* hash_slot_pointer() {
    const long home = hash_home(master_checksum) + 4 * side;
    hash_entry* e = &hash_table[home];
    if (e->checksum == 0 || e->checksum == master_checksum) return e;
    if (side == LIGHT) return home > 0 ? e - 1 : e;
    return e + 1;
}

void hash_update(int depth, int score, int alpha, int beta, long effort) {
    if (depth == 0) return;
    hash_entry* e = hash_slot_pointer();
    // Cheaper searches do not push out entries of the last five searches.
    if (effort < e->effort && e->generation + 5 >= hash_seq) return;
    e->generation = hash_seq;
    mark_hash_entry(e);
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

