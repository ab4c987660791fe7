// hash/replace.cpp: where a position's entry lies and when a store may
// replace it: a home slot with one alternative, and effort and age.
#include "hash/table.h"
#include "hash/keys.h"

// The home entry, or when another key holds it, its neighbour: below it with
// light to move, above with dark. With light to move the neighbour of entry 0
// would lie before the table, so the home entry is used there.
hash_slot* hash_slot_pointer() {
    const long home = hash_home(master_checksum) + 4 * side;
    hash_slot* s = &hash_table[home];
    const uint64_t held = slot_checksum(s);
    if (held == 0 || held == master_checksum) return s;
    if (side == LIGHT) return home > 0 ? s - 1 : s;
    return s + 1;
}

void hash_update(int depth, int score, int alpha, int beta, std::int64_t effort) {
    if (depth == 0) return;
    hash_slot* s = hash_slot_pointer();
    hash_entry e = read_slot(s);
    // Cheaper searches do not push out entries of the last five searches.
    if (effort < e.effort && e.generation + 5 >= hash_seq) return;
    e.generation = hash_seq;
    if (e.checksum != master_checksum) {
        e.move = move_bytes{};
        e.checksum = master_checksum;
        if (master_checksum != 0) colisiones_hash++;
    }
    e.depth = int8_t(depth);
    e.score = score;
    e.effort = effort;
    e.bound = score >= beta ? HASH_LOWER : score <= alpha ? HASH_UPPER : HASH_EXACT;
    write_slot(s, e);
    mark_hash_entry(s);
}
