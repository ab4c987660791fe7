// hash/table_memory.h: the memory of a transposition table of any size:
// allocated at run time without throwing, on 2 MiB boundaries and with the
// system asked for large pages, refused when the system cannot really give
// it, and emptied at the cost of what was written since the last emptying
// rather than of the whole table.
// Editions: 3.5, 3.0, 2.3; used by hash/table.cpp (3.5, 3.0) and editions/v23/table.cpp (2.3).
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <unistd.h>
#ifdef __linux__
#include <sys/mman.h>
#endif

// The tables are read at random: on large pages their probes miss the
// address cache far less often.
constexpr std::size_t TABLE_ALIGNMENT = std::size_t(1) << 21;
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

// A number in kB after `label` in a /proc-style file of "label value kB"
// lines; false when the file or the line is missing.
inline bool read_kb_field(const char* path, const std::string& label, std::uint64_t* bytes) {
    std::ifstream in(path);
    std::string word;
    std::uint64_t kb;
    while (in >> word) {
        if (word == label && in >> kb) {
            *bytes = kb * 1024;
            return true;
        }
    }
    return false;
}

// A single number in a file (the cgroup's limit and use); false when the
// file is missing or holds no number ("max": no limit).
inline bool read_number_file(const char* path, std::uint64_t* value) {
    std::ifstream in(path);
    return bool(in >> *value);
}

// The memory the system can give this program now without swapping it out
// or killing it: Linux's estimate of available memory (free memory and what
// can be reclaimed), within the room left under the memory limit of the
// program's control group when it has one; elsewhere the physical memory.
// With overcommitted memory a larger allocation "succeeds" and its first
// touch brings the out-of-memory killer, so this is asked before.
inline std::uint64_t obtainable_memory() {
    const long pages = sysconf(_SC_PHYS_PAGES), page = sysconf(_SC_PAGESIZE);
    std::uint64_t room = pages > 0 && page > 0 ? std::uint64_t(pages) * std::uint64_t(page) : UINT64_MAX;
    std::uint64_t available;
    if (read_kb_field("/proc/meminfo", "MemAvailable:", &available)) room = std::min(room, available);
    std::uint64_t limit, used;
    if (read_number_file("/sys/fs/cgroup/memory.max", &limit) &&
        read_number_file("/sys/fs/cgroup/memory.current", &used))
        room = std::min(room, limit > used ? limit - used : 0);
    return room;
}

// Whether a table of `bytes` may be allocated: within the share of what the
// system can give now.
inline bool table_memory_obtainable(std::uint64_t bytes) {
    const std::uint64_t room = obtainable_memory();
    return bytes <= room / TABLE_MEMORY_SHARE_DENOMINATOR * TABLE_MEMORY_SHARE_NUMERATOR;
}

// Allocates and empties a table's memory; false, with *t unchanged, when the
// allocation fails. The memory is written through before this returns, so
// what is returned is really there.
inline bool allocate_table_memory(table_memory* t, std::size_t entries, std::size_t entry_bytes) {
    const std::size_t bytes = table_memory_bytes(entries, entry_bytes);
    void* p = ::operator new(bytes, std::align_val_t(TABLE_ALIGNMENT), std::nothrow);
    if (!p) return false;
#ifdef MADV_HUGEPAGE
    // Asked before the memory is first touched; only advice: without large
    // pages the table works the same.
    madvise(p, bytes, MADV_HUGEPAGE);
#endif
    std::memset(p, 0, bytes);
    t->base = static_cast<unsigned char*>(p);
    t->entries = entries;
    t->entry_bytes = entry_bytes;
    t->blocks = table_blocks(entries);
    t->marked_order = reinterpret_cast<std::uint32_t*>(t->base + entries * entry_bytes);
    t->marked = reinterpret_cast<unsigned char*>(t->marked_order + t->blocks);
    t->marked_count = 0;
    return true;
}

inline void free_table_memory(table_memory* t) {
    if (t->base) ::operator delete(t->base, std::align_val_t(TABLE_ALIGNMENT));
    *t = table_memory{};
}

// Out of the inline path: the first write into a block since the last emptying.
inline void note_marked_block(table_memory* t, std::size_t block) {
    t->marked[block] = 1;
    t->marked_order[t->marked_count++] = std::uint32_t(block);
}

// Every write into entry `entry` of the table calls this.
inline void mark_table_entry(table_memory* t, std::size_t entry) {
    const std::size_t block = entry / TABLE_BLOCK_ENTRIES;
    if (!t->marked[block]) note_marked_block(t, block);
}

// Empties the whole table and its marks.
inline void clear_table_memory_whole(table_memory* t) {
    std::memset(t->base, 0, t->entries * t->entry_bytes);
    std::memset(t->marked, 0, t->blocks);
    t->marked_count = 0;
}

// Empties what was written since the last emptying: the marked blocks, or
// the whole table when most blocks are marked.
inline void clear_table_memory_marked(table_memory* t) {
    if (t->marked_count == 0) return;
    if (t->marked_count > t->blocks / TABLE_FULL_CLEAR_DIVISOR) {
        clear_table_memory_whole(t);
        return;
    }
    const std::size_t block_bytes = TABLE_BLOCK_ENTRIES * t->entry_bytes;
    const std::size_t table_bytes = t->entries * t->entry_bytes;
    for (std::size_t i = 0; i < t->marked_count; i++) {
        const std::size_t block = t->marked_order[i];
        const std::size_t start = block * block_bytes;
        std::memset(t->base + start, 0, std::min(block_bytes, table_bytes - start));
        t->marked[block] = 0;
    }
    t->marked_count = 0;
}
