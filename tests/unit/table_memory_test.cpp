// The slot rule's remainder without a division against `%`, and clearing by
// written blocks against a table cleared whole.
#include "hash/table.h"
#include "hash/keys.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <vector>

TEST(Reciprocal, RemainderIsThatOfTheDivision) {
    std::mt19937_64 rng(20261208);
    std::vector<uint64_t> divisors = {2, 3, 7, 4093, 262133, 524277, (1ull << 32) - 1, 1ull << 32,
                                      (1ull << 32) + 1, (1ull << 63) - 1, 1ull << 63};
    for (long mb = 1; mb <= HASH_MAX_MB; mb += mb < 64 ? 1 : 997)   // the moduli of the table sizes
        divisors.push_back(uint64_t(mb * HASH_ENTRIES_PER_MB - 1 - HASH_MODULUS_MARGIN));
    for (int i = 0; i < 200; i++) divisors.push_back((rng() >> (rng() % 62 + 1)) | 2);
    for (uint64_t d : divisors) {
        const divisor_reciprocal r = reciprocal_of(d);
        std::vector<uint64_t> keys = {0, 1, d - 1, d, d + 1, UINT64_MAX, UINT64_MAX - UINT64_MAX % d,
                                      UINT64_MAX - UINT64_MAX % d - 1, 1ull << 63};
        for (int i = 0; i < 300; i++) keys.push_back(rng());
        for (int i = 0; i < 50; i++) keys.push_back(rng() % 1000 + d * (rng() % 1000));
        for (uint64_t k : keys) ASSERT_EQ(remainder_by(k, r), k % d) << k << " mod " << d;
    }
}

TEST(TableMemory, ClearingTheWrittenBlocksEmptiesTheTable) {
    std::mt19937_64 rng(7);
    const auto zero = [](unsigned char b) { return b == 0; };
    for (int writes : {1, 3000, 200000}) {   // from a few blocks to most of them
        hash_seq = 1;
        for (int i = 0; i < writes; i++) {
            master_checksum = rng(), side = int(rng() & 1);
            hash_update(int(rng() % 8) + 1, int(rng() % 200) - 100, -50, 50, long(rng() % 1000));
            hash_move_update(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0});
        }
        clear_hash();
        const unsigned char* p = hash_memory.base;
        EXPECT_TRUE(std::all_of(p, p + hash_entries * sizeof(hash_entry), zero)) << writes;
        EXPECT_TRUE(std::all_of(hash_memory.marked, hash_memory.marked + hash_memory.blocks, zero));
    }
    side = LIGHT;
    reset_tables();
}
