// Edition 3.0's writes into a table of another size, cleared by written blocks.
#include "editions/v30/replace.h"
#include "hash/keys.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

TEST(Table30, ClearingEmptiesWhatStoresMovesAndMarksWrote) {
    std::mt19937_64 rng(30);
    ASSERT_TRUE(set_hash_size(1));
    for (int writes : {25, 100000}) {
        hash_seq = 1;
        for (int i = 0; i < writes; i++) {
            master_checksum = rng(), side = int(rng() & 1);
            hash_update(int(rng() % 8), int(rng() % 200) - 100, -50, 50, 0);
            hash_move_update(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0});
            hash_alpha_node_update();
        }
        clear_hash();
        const unsigned char* p = hash_memory.base;
        EXPECT_TRUE(std::all_of(p, p + hash_entries * sizeof(hash_entry), [](unsigned char b) { return b == 0; }));
    }
    side = LIGHT;
    ASSERT_TRUE(set_hash_size(EDITION_HASH_MB));
    reset_tables();
}
