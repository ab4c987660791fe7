// editions/v23/table.cpp: the transposition table of edition 2.3.
#include "editions/v23/table.h"
#include <algorithm>
#include <bit>

tt_slot_words* tt_table;
uint64_t tt_slot_mask;
table_memory tt_memory;
long tt_size_mb;
constinit thread_local std::int64_t tt_hits{}, tt_misses{};

namespace {

// The slots of a table of mb megabytes. The fuzz build holds every size to
// its small table, so that no input allocates much.
long slots_for(long mb) {
    const long slots = long(std::bit_floor(uint64_t(mb * TT_ENTRIES_PER_MB)));
#ifdef ZORVU_SMALL_TABLES
    return std::min(slots, TT_SLOTS);
#else
    return slots;
#endif
}

// Points the table's globals at tt_memory, a table of mb megabytes.
void install(long mb) {
    tt_table = reinterpret_cast<tt_slot_words*>(tt_memory.base);
    tt_slot_mask = tt_memory.entries - 1;
    tt_size_mb = mb;
}

// The table of the default size, there before anything looks it up: in the
// program, the tests and the tools alike.
bool allocate_default_table() {
    allocate_first_table(&tt_memory, size_t(slots_for(EDITION_HASH_MB)), sizeof(tt_slot_words), EDITION_HASH_MB);
    install(EDITION_HASH_MB);
    return true;
}

[[maybe_unused]] const bool default_table_allocated = allocate_default_table();

size_t slot_number(const tt_slot_words& slot) { return size_t(&slot - tt_table); }

bool holds_position(const tt_entry& e) { return e.check == check_key; }

}  // namespace

bool set_table_size(long mb) {
    if (mb < 1 || mb > TT_MAX_MB) return false;
    const long slots = slots_for(mb);
    if (size_t(slots) == tt_memory.entries) {
        tt_size_mb = mb;
        clear_table();
        return true;
    }
    if (!replace_table_memory(&tt_memory, size_t(slots), sizeof(tt_slot_words))) return false;
    install(mb);
    return true;
}

// An empty slot has check key 0 and age 0; search_count is 1 or more during
// a search, and the check key 0 (the initial position's) is left out, so
// neither counts.
int table_fill() {
    const long sample = std::min(TT_FILL_SAMPLE, long(tt_memory.entries));
    long stored = 0;
    for (long i = 0; i < sample; i++) {
        const tt_entry e = tt_decode(tt_table[i]);
        if (e.check != 0 && e.age == search_count) stored++;
    }
    return int(stored * 1000 / sample);
}

void clear_table() { clear_table_memory_marked(&tt_memory); }

tt_entry tt_slot() { return tt_decode(tt_position_slot()); }

// An empty slot matches the check key 0 of the initial position, but its
// depth 0 never satisfies a probe, which always asks for one ply or more.
std::optional<tt_entry> tt_probe(int depth, bool this_search_only) {
    const tt_entry e = tt_decode(tt_position_slot());
    if (holds_position(e) && e.depth >= depth && e.depth > 0 && (!this_search_only || e.age == search_count)) {
        tt_hits++;
        return e;
    }
    tt_misses++;
    return std::nullopt;
}

void tt_store(int depth, int score, int alpha, int beta) {
    tt_slot_words& slot = tt_position_slot();
    tt_entry e = tt_decode(slot);
    // What this search (or, after a new game, a later-numbered one) stored
    // deeper is worth more than a shallower result.
    if (depth < e.depth && e.age >= search_count) return;
    mark_table_entry(&tt_memory, slot_number(slot));
    if (!holds_position(e)) {
        e.check = check_key;
        e.move = move_bytes{};
        e.gain = 0;
    }
    e.depth = depth;
    e.score = score;
    e.age = search_count;
    e.bound = score >= beta ? TT_LOWER : score <= alpha ? TT_UPPER : TT_EXACT;
    tt_encode(slot, e);
}

void tt_record_move(move_bytes m, int gain) {
    tt_slot_words& slot = tt_position_slot();
    tt_entry e = tt_decode(slot);
    if (!holds_position(e)) return;
    e.move = m;
    e.gain = gain;
    tt_encode(slot, e);
    mark_table_entry(&tt_memory, slot_number(slot));
}
