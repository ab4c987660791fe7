// Edition 3.0's table rules at other sizes: the highest slot stays inside,
// and clearing by written blocks empties what every kind of write left.
#include "editions/v30/replace.h"
#include "hash/keys.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

TEST(Table30, ClearingEmptiesWhatStoresMovesAndMarksWroteAtAnySize) {
    std::mt19937_64 rng(30);
    for (long mb : {1L, EDITION_HASH_MB}) {
        ASSERT_TRUE(set_hash_size(mb));
        // The highest key's slot with dark to move is the last but six.
        master_checksum = hash_modulus.divisor - 1;
        side = DARK;
        EXPECT_EQ(hash_slot_pointer() - hash_table, hash_entries - 7);
        for (int writes : {25, 100000}) {
            hash_seq = 1;
            for (int i = 0; i < writes; i++) {
                master_checksum = rng();
                side = int(rng() & 1);
                hash_update(int(rng() % 8), int(rng() % 200) - 100, -50, 50, 0);
                hash_move_update(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0});
                hash_alpha_node_update();
            }
            clear_hash();
            const auto zero = [](unsigned char b) { return b == 0; };
            const unsigned char* p = hash_memory.base;
            EXPECT_TRUE(std::all_of(p, p + hash_memory.entries * sizeof(hash_entry), zero)) << mb << " MB, " << writes << " writes";
            EXPECT_TRUE(std::all_of(hash_memory.marked, hash_memory.marked + hash_memory.blocks, zero));
            EXPECT_EQ(hash_memory.marked_count, 0u);
        }
    }
    side = LIGHT;
    reset_tables();
}
