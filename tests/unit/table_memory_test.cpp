// The transposition table's arithmetic and memory: the slot rule's remainder
// without a division against `%`, the entries and modulus of each size, and
// clearing by written blocks against a table cleared whole.
#include "hash/table.h"
#include "hash/keys.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>

namespace {

bool zero_bytes(const unsigned char* p, size_t n) {
    return std::all_of(p, p + n, [](unsigned char b) { return b == 0; });
}

// The entries and the block marks all zero, no block listed.
bool table_is_empty() {
    return hash_memory.marked_count == 0 && zero_bytes(hash_memory.marked, hash_memory.blocks) &&
           zero_bytes(hash_memory.base, hash_memory.entries * sizeof(hash_entry));
}

class TableMemory : public testing::Test {
protected:
    void TearDown() override {
        ASSERT_TRUE(set_hash_size(EDITION_HASH_MB));
        reset_tables();
    }
};

}  // namespace

TEST(Reciprocal, RemainderIsThatOfTheDivisionForEveryKindOfKeyAndDivisor) {
    std::mt19937_64 rng(20261208);
    std::vector<uint64_t> divisors = {2, 3, 5, 7, 10, 4093, 262133, 524277, 1ull << 31, (1ull << 31) - 1,
                                      (1ull << 32) - 1, 1ull << 32, (1ull << 32) + 1, (1ull << 62) + 1,
                                      (1ull << 63) - 1, 1ull << 63};
    for (long mb = 1; mb <= HASH_MAX_MB; mb += mb < 64 ? 1 : 997)   // the moduli of the table sizes
        divisors.push_back(uint64_t(mb * HASH_ENTRIES_PER_MB - 1 - HASH_MODULUS_MARGIN));
    for (int i = 0; i < 200; i++) divisors.push_back((rng() >> (rng() % 62 + 1)) | 2);
    for (uint64_t d : divisors) {
        const divisor_reciprocal r = reciprocal_of(d);
        std::vector<uint64_t> keys = {0, 1, d - 1, d, d + 1, 2 * d - 1, 2 * d, UINT64_MAX, UINT64_MAX - 1,
                                      UINT64_MAX - UINT64_MAX % d, UINT64_MAX - UINT64_MAX % d - 1,
                                      1ull << 63, (1ull << 63) - 1, 1ull << 32, (1ull << 32) - 1};
        for (int i = 0; i < 300; i++) keys.push_back(rng());
        for (int i = 0; i < 50; i++) keys.push_back(rng() % 1000 + d * (rng() % 1000));
        for (uint64_t k : keys) ASSERT_EQ(remainder_by(k, r), k % d) << k << " mod " << d;
    }
}

TEST_F(TableMemory, EachSizeHasItsEntriesAndModulus) {
    EXPECT_EQ(hash_size_mb, EDITION_HASH_MB);
    EXPECT_EQ(hash_entries, HASH_SIZE);
    EXPECT_EQ(hash_modulus.divisor, HASH_MODULUS);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(hash_table) % HUGE_PAGE_BYTES, 0u);
    ASSERT_TRUE(set_hash_size(3));
    EXPECT_EQ(hash_entries, 3 * 32768 - 1);
    EXPECT_EQ(hash_modulus.divisor, 3u * 32768 - 11);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(hash_table) % HUGE_PAGE_BYTES, 0u);
    // The largest home slot with dark to move and its neighbour lie inside.
    master_checksum = hash_modulus.divisor - 1;
    side = DARK;
    hash_table[hash_home(master_checksum) + 4].checksum = 1;
    hash_table_dirty = true;
    EXPECT_EQ(hash_slot_pointer() - hash_table, hash_entries - 6);
    side = LIGHT;
}

TEST_F(TableMemory, ClearingTheWrittenBlocksLeavesTheTableAsClearingItWhole) {
    std::mt19937_64 rng(7);
    for (int writes : {1, 40, 3000, 200000}) {   // from a few blocks to most of them
        hash_seq = 1;
        for (int i = 0; i < writes; i++) {
            master_checksum = rng();
            side = int(rng() & 1);
            hash_update(int(rng() % 8) + 1, int(rng() % 200) - 100, -50, 50, long(rng() % 1000));
            hash_move_update(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0});
        }
        EXPECT_FALSE(table_is_empty()) << writes;
        clear_hash();
        EXPECT_TRUE(table_is_empty()) << writes;
    }
    side = LIGHT;
}
