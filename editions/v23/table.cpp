// editions/v23/table.cpp: the transposition table of edition 2.3.
#include "editions/v23/table.h"
#include <cstring>
#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr std::size_t LARGE_PAGE = std::size_t(2) << 20;   // the processor's 2 MiB pages
}

// Aligned to large pages: the table is asked to be mapped with them, so that
// a look-up does not first miss in the address translation cache.
alignas(LARGE_PAGE) tt_entry tt_table[TT_SLOTS];
long tt_hits, tt_misses;

namespace {

static_assert((TT_SLOTS & (TT_SLOTS - 1)) == 0);

bool holds_position(const tt_entry* e) { return e->check == check_key; }

}  // namespace

void clear_table() {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    static const bool large_pages_asked = madvise(tt_table, sizeof tt_table, MADV_HUGEPAGE) == 0;
    (void)large_pages_asked;   // without them the table works the same, only slower
#endif
    std::memset(tt_table, 0, sizeof tt_table);
}

tt_entry* tt_slot() { return &tt_table[index_key % TT_SLOTS]; }

// An empty slot matches the check key 0 of the initial position, but its
// depth 0 never satisfies a probe, which always asks for one ply or more.
const tt_entry* tt_probe(int depth, bool this_search_only) {
    const tt_entry* e = tt_slot();
    if (holds_position(e) && e->depth >= depth && e->depth > 0 && (!this_search_only || e->age == search_count)) {
        tt_hits++;
        return e;
    }
    tt_misses++;
    return nullptr;
}

void tt_store(int depth, int score, int alpha, int beta) {
    tt_entry* e = tt_slot();
    // What this search (or, after a new game, a later-numbered one) stored
    // deeper is worth more than a shallower result.
    if (depth < e->depth && e->age >= search_count) return;
    if (!holds_position(e)) {
        e->check = check_key;
        e->move = move_bytes{};
        e->gain = 0;
    }
    e->depth = depth;
    e->score = score;
    e->age = search_count;
    e->bound = score >= beta ? TT_LOWER : score <= alpha ? TT_UPPER : TT_EXACT;
}

void tt_record_move(move_bytes m, int gain) {
    tt_entry* e = tt_slot();
    if (!holds_position(e)) return;
    e->move = m;
    e->gain = gain;
}

move_bytes tt_best_move(int* gain) {
    const tt_entry* e = tt_slot();
    if (!holds_position(e) || move_value(e->move) == 0) {
        *gain = 0;
        return move_bytes{};
    }
    *gain = e->gain;
    return e->move;
}
