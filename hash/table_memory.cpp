// hash/table_memory.cpp: allocating, checking and emptying the memory of a
// transposition table.
#include "hash/table_memory.h"
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <new>
#include <string>
#include <unistd.h>
#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// A number in kB after `label` in a /proc-style file of "label value kB"
// lines; false when the file or the line is missing.
bool read_kb_field(const char* path, const std::string& label, std::uint64_t* bytes) {
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
bool read_number_file(const char* path, std::uint64_t* value) {
    std::ifstream in(path);
    return bool(in >> *value);
}

}  // namespace

// MemAvailable counts free memory and what can be reclaimed.
std::uint64_t obtainable_memory() {
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

namespace {

// Within 7/8 of what the system can give now.
bool table_memory_obtainable(std::uint64_t bytes) {
    const std::uint64_t room = obtainable_memory();
    return bytes <= room / TABLE_MEMORY_SHARE_DENOMINATOR * TABLE_MEMORY_SHARE_NUMERATOR;
}

// Allocates and empties a table's memory; false, with *t unchanged, when the
// allocation fails. Written through, so what is returned is really there.
bool allocate_table_memory(table_memory* t, std::size_t entries, std::size_t entry_bytes) {
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

void free_table_memory(table_memory* t) {
    if (t->base) ::operator delete(t->base, std::align_val_t(TABLE_ALIGNMENT));
    *t = table_memory{};
}

}  // namespace

void allocate_first_table(table_memory* t, std::size_t entries, std::size_t entry_bytes, long mb) {
    if (allocate_table_memory(t, entries, entry_bytes)) return;
    std::fprintf(stderr, "no memory for the transposition table (%ld MB)\n", mb);
    std::exit(EXIT_FAILURE);
}

bool replace_table_memory(table_memory* t, std::size_t entries, std::size_t entry_bytes) {
    if (!table_memory_obtainable(table_memory_bytes(entries, entry_bytes))) return false;
    table_memory fresh;
    if (!allocate_table_memory(&fresh, entries, entry_bytes)) return false;
    free_table_memory(t);
    *t = fresh;
    return true;
}

void clear_table_memory_whole(table_memory* t) {
    std::memset(t->base, 0, t->entries * t->entry_bytes);
    std::memset(t->marked, 0, t->blocks);
    t->marked_count = 0;
}

void clear_table_memory_marked(table_memory* t) {
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
