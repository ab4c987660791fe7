// hash/table.cpp: the transposition table's memory and size, probing it,
// recording best moves, clearing it.
#include "hash/table.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "search/threads.h"
#include <bit>
#include <cstring>
#ifdef __linux__
#include <sys/mman.h>
#endif

hash_slot* hash_table;
long hash_entries;
divisor_reciprocal hash_modulus;
table_memory hash_memory;
long hash_size_mb;
bool hash_table_dirty;
int hash_seq;
constinit thread_local std::int64_t impactos_hash{};
constinit thread_local std::int64_t pifias_hash{};
constinit thread_local std::int64_t colisiones_hash{};
constinit thread_local std::int64_t hash_impacts{}, hash_nofound{};

divisor_reciprocal reciprocal_of(uint64_t divisor) {
    const unsigned l = unsigned(std::bit_width(divisor - 1));   // ceil(log2 divisor), divisor >= 2
#ifdef __SIZEOF_INT128__
    __extension__ typedef unsigned __int128 wide;
    const wide excess = (wide(1) << l) - divisor;               // below divisor: the magic fits 64 bits
    return divisor_reciprocal{divisor, uint64_t((excess << 64) / divisor + 1), l - 1};
#else
    // Without 128-bit integers (32-bit x86): the same quotient by long
    // division, a bit at a time; it runs once per table size.
    uint64_t rest = (l == 64 ? 0 : uint64_t(1) << l) - divisor, quotient = 0;
    for (int bit = 0; bit < 64; bit++) {
        const bool carry = rest >> 63;   // the doubled rest passes 2^64, so it holds the divisor
        rest <<= 1;
        quotient <<= 1;
        if (carry || rest >= divisor) {
            rest -= divisor;
            quotient |= 1;
        }
    }
    return divisor_reciprocal{divisor, quotient + 1, l - 1};
#endif
}

namespace {

// The entries of a table of mb megabytes. The fuzz build holds every size
// to its small table, so that no input allocates much.
long entries_for(long mb) {
    const long entries = mb * HASH_ENTRIES_PER_MB - 1;
#ifdef ZORVU_SMALL_TABLES
    return std::min(entries, long(HASH_SIZE));
#else
    return entries;
#endif
}

// Points the table's globals at hash_memory, a table of mb megabytes.
void install(long mb) {
    hash_table = reinterpret_cast<hash_slot*>(hash_memory.base);
    hash_entries = long(hash_memory.entries);
    hash_modulus = reciprocal_of(uint64_t(hash_entries - HASH_MODULUS_MARGIN));
    hash_size_mb = mb;
    hash_table_dirty = false;
}

// The table of the default size, there before anything probes it: in the
// programs, the tests and the tools alike.
bool allocate_default_table() {
    allocate_first_table(&hash_memory, size_t(entries_for(EDITION_HASH_MB)), sizeof(hash_slot), EDITION_HASH_MB);
    install(EDITION_HASH_MB);
    return true;
}

[[maybe_unused]] const bool default_table_allocated = allocate_default_table();

}  // namespace

bool set_hash_size(long mb) {
    if (mb < 1 || mb > HASH_MAX_MB) return false;
    const long entries = entries_for(mb);
    if (entries == hash_entries) {
        hash_size_mb = mb;
        clear_hash();
        return true;
    }
    if (!replace_table_memory(&hash_memory, size_t(entries), sizeof(hash_slot))) return false;
    install(mb);
    return true;
}

int hash_fill() {
    const long sample = std::min(HASH_FILL_SAMPLE, hash_entries);
    long written = 0;
    for (long i = 0; i < sample; i++) {
        const hash_entry e = read_slot(&hash_table[i]);
        if (e.checksum != 0 && e.generation == hash_seq) written++;
    }
    return int(written * 1000 / sample);
}

int hash_search(int* score, int depth, int alpha, int beta) {
    const hash_entry e = read_slot(hash_slot_pointer());
    if (e.checksum != master_checksum) return 0;
    if (e.depth < depth) {
        pifias_hash++;
        return 0;
    }
    // Depth 0 also keeps a freshly set-up position (key 0) off empty entries.
    if (e.depth == 0) return 0;
    if (e.score < -TABLE_SCORE_LIMIT || e.score > TABLE_SCORE_LIMIT) return 0;
    *score = e.score;
    const bool answers = e.bound == HASH_EXACT || (e.bound == HASH_LOWER && *score >= beta) ||
                         (e.bound == HASH_UPPER && *score <= alpha);
    if (!answers) return 0;
    impactos_hash++;
    return 1;
}

void hash_move_update(move_bytes m) {
    hash_slot* s = hash_slot_pointer();
    hash_entry e = read_slot(s);
    if (e.checksum != master_checksum) return;
    e.move = m;
    write_slot(s, e);
    mark_hash_entry(s);
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

void clear_hash() {
    if (hash_table_dirty) clear_table_memory_whole(&hash_memory);
    else clear_table_memory_marked(&hash_memory);
    hash_table_dirty = false;
}

void clear_hash_in_search() {
    if (!helpers_searching()) clear_hash();
}

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
