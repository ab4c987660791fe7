// hash/table_memory.h: the memory of a transposition table of any size:
// allocated at run time without throwing, on 2 MiB boundaries and with the
// system asked for large pages, refused when the system cannot really give
// it, and emptied at the cost of what was written since the last emptying
// rather than of the whole table. Its entries and marks are written by
// every search thread; it is allocated and emptied between searches.
// Editions: 3.5, 3.0, 2.3; used by hash/table.cpp (3.5, 3.0) and editions/v23/table.cpp (2.3);
// implemented by hash/table_memory.cpp.
#pragma once
#include <cstddef>
#include <cstdint>

// The tables are read at random: on large pages their probes miss the
// address cache far less often.
constexpr std::size_t TABLE_ALIGNMENT = std::size_t(1) << 21;
// Every table's size in megabytes (UCI's Hash option) is at most this. A
// build with 32-bit addresses (the browser's, or 32-bit x86) must fit its
// whole memory in them, and in the browser in the page's share of them.
#if UINTPTR_MAX <= UINT32_MAX
constexpr long TABLE_MAX_MB = 256;
#else
constexpr long TABLE_MAX_MB = 65536;
#endif
// Emptying goes by blocks of this many entries (1 KiB of 32-byte entries):
// every write marks its block, and emptying clears the marked blocks only.
constexpr std::size_t TABLE_BLOCK_ENTRIES = 32;
// When more than this share of the blocks is marked (1 in 2), one clearing
// of the whole table is cheaper than going block by block.
constexpr std::size_t TABLE_FULL_CLEAR_DIVISOR = 2;
// A new table may take at most this share of the memory the system has
// available now (7 in 8): the rest stays for everything else.
constexpr std::uint64_t TABLE_MEMORY_SHARE_NUMERATOR = 7, TABLE_MEMORY_SHARE_DENOMINATOR = 8;

// One table's memory: `entries` entries of `entry_bytes` each (a multiple of
// 4 bytes), then the marked blocks' numbers in the order they were first
// marked, then one byte per block (1 when the block was written since the
// table was last emptied).
struct table_memory {
    unsigned char* base = nullptr;   // the entries, TABLE_ALIGNMENT-aligned
    std::size_t entries = 0;
    std::size_t entry_bytes = 0;
    std::size_t blocks = 0;
    unsigned char* marked = nullptr;
    std::uint32_t* marked_order = nullptr;
    std::size_t marked_count = 0;
};

inline std::size_t table_blocks(std::size_t entries) { return (entries + TABLE_BLOCK_ENTRIES - 1) / TABLE_BLOCK_ENTRIES; }

inline std::size_t table_memory_bytes(std::size_t entries, std::size_t entry_bytes) {
    const std::size_t blocks = table_blocks(entries);
    return entries * entry_bytes + blocks + blocks * sizeof(std::uint32_t);
}

// The bytes the system can give this program now without swapping it out or
// killing it: Linux's estimate of available memory, within the room under
// its control group's limit; elsewhere the physical memory.
std::uint64_t obtainable_memory();
// The table a program starts with: allocated before anything uses it, or
// the program ends with a message (without it nothing can run).
void allocate_first_table(table_memory* t, std::size_t entries, std::size_t entry_bytes, long mb);
// A table of another size in place of *t: had in full, written through,
// before the old one goes; false, with *t as it was, when it would take more
// than 7/8 of obtainable_memory() or the allocation fails. (With
// overcommitted memory a larger allocation "succeeds" and its first touch
// brings the out-of-memory killer, so the room is asked first.)
bool replace_table_memory(table_memory* t, std::size_t entries, std::size_t entry_bytes);
void clear_table_memory_whole(table_memory* t);    // the whole table and its marks
// Empties what was written since the last emptying: the marked blocks, or
// the whole table when most blocks are marked.
void clear_table_memory_marked(table_memory* t);

// Words of the tables read and written while other search threads may read
// or write them: relaxed atomic operations (the compiler's builtins, which
// every C++ library this builds with has, where std::atomic_ref is newer).
template <class T> [[gnu::always_inline]] inline T relaxed_load(const T& w) {
    return __atomic_load_n(&w, __ATOMIC_RELAXED);
}
template <class T> [[gnu::always_inline]] inline void relaxed_store(T& w, T v) {
    __atomic_store_n(&w, v, __ATOMIC_RELAXED);
}

// A 64-bit word of a table's entry, read or written whole: each table's
// entries carry a check of their own that rejects one mixed from two writes.
static_assert(__atomic_always_lock_free(sizeof(std::uint64_t), nullptr));
[[gnu::always_inline]] inline std::uint64_t load_table_word(const std::uint64_t& w) { return relaxed_load(w); }
[[gnu::always_inline]] inline void store_table_word(std::uint64_t& w, std::uint64_t v) { relaxed_store(w, v); }

// The first write into a block since the last emptying. Several search
// threads may mark blocks at once: the one that turns a block's mark on
// lists it, in a place of its own.
inline void note_marked_block(table_memory* t, std::size_t block) {
    if (__atomic_exchange_n(&t->marked[block], static_cast<unsigned char>(1), __ATOMIC_RELAXED) != 0) return;
    const std::size_t place = __atomic_fetch_add(&t->marked_count, std::size_t(1), __ATOMIC_RELAXED);
    t->marked_order[place] = std::uint32_t(block);
}

// Every write into entry `entry` of the table calls this.
inline void mark_table_entry(table_memory* t, std::size_t entry) {
    const std::size_t block = entry / TABLE_BLOCK_ENTRIES;
    if (!relaxed_load(t->marked[block])) note_marked_block(t, block);
}
