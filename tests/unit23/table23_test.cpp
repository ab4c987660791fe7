// Edition 2.3's table at other sizes: its slot counts, and clearing by
// written blocks against a table cleared whole.
#include "editions/v23/game.h"
#include "editions/v23/table.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>

TEST(Table23, SizesGiveThePowersOfTwoThatFitAndClearingEmptiesEveryWrite) {
    std::mt19937_64 rng(23);
    const uint64_t kept_index = index_key, kept_check = check_key;
    const int kept_count = search_count;
    for (auto [mb, slots] : {std::pair{1L, 32768UL}, {3L, 65536UL}, {12L, 262144UL}, {EDITION_HASH_MB, 262144UL}}) {
        ASSERT_TRUE(set_table_size(mb));
        EXPECT_EQ(tt_slot_mask + 1, slots) << mb;
        for (int writes : {25, 100000}) {
            search_count = 1;
            for (int i = 0; i < writes; i++) {
                index_key = rng();
                check_key = rng() % 4 == 0 ? 0 : rng();   // also the initial position's key 0
                tt_store(int(rng() % 8), int(rng() % 200) - 100, -50, 50);
                tt_record_move(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0}, int(rng() % 100));
            }
            clear_table();
            const auto zero = [](unsigned char b) { return b == 0; };
            const unsigned char* p = tt_memory.base;
            EXPECT_TRUE(std::all_of(p, p + tt_memory.entries * sizeof(tt_entry), zero)) << mb << " MB, " << writes << " writes";
            EXPECT_TRUE(std::all_of(tt_memory.marked, tt_memory.marked + tt_memory.blocks, zero));
            EXPECT_EQ(tt_memory.marked_count, 0u);
        }
    }
    EXPECT_EQ(tt_size_mb, EDITION_HASH_MB);
    index_key = kept_index, check_key = kept_check, search_count = kept_count;
}
