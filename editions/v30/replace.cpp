// editions/v30/replace.cpp: where a position's entry lies and when a store
// may replace it: always the home slot; a deeper or equal result replaces,
// a shallower one only replaces what earlier searches wrote.
#include "editions/v30/replace.h"
#include "hash/keys.h"

// The home slot of every position, whatever another key left there. The
// largest slot, the modulus - 1 + 4, lies within the table.
hash_slot* hash_slot_pointer() {
    static_assert(HASH_MODULUS_MARGIN >= 4);
    return &hash_table[hash_home(master_checksum) + 4 * side];
}

// The search's effort is not kept in this edition: `effort` is ignored, and
// a depth-0 result is stored like any other (it never answers a probe).
void hash_update(int depth, int score, int alpha, int beta, std::int64_t /*effort*/) {
    hash_slot* s = hash_slot_pointer();
    hash_entry e = read_slot(s);
    // A shallower result does not push out what this search wrote.
    if (depth < e.depth && e.generation >= hash_seq) return;
    e.generation = hash_seq;
    if (e.checksum != master_checksum) {
        // Key 0 (the set-up position, before any move) keeps the slot's move.
        if (master_checksum != 0) {
            e.move = move_bytes{};
            colisiones_hash++;
        }
        e.checksum = master_checksum;
    }
    e.depth = int8_t(depth);
    e.score = score;
    e.bound = score >= beta ? HASH_LOWER : score <= alpha ? HASH_UPPER : HASH_EXACT;
    e.alpha_node = 0;
    write_slot(s, e);
    mark_hash_entry(s);
}

void hash_alpha_node_update() {
    hash_slot* s = hash_slot_pointer();
    hash_entry e = read_slot(s);
    if (e.checksum != master_checksum) return;
    e.alpha_node = 1;
    write_slot(s, e);
    mark_hash_entry(s);
}
