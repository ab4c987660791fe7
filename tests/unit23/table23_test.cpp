// Edition 2.3's table sizes, and clearing by written blocks.
#include "editions/v23/table.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <tuple>

TEST(Table23, SizesArePowersOfTwoAndClearingEmptiesEveryWrite) {
    std::mt19937_64 rng(23);
    const uint64_t kept_index = index_key, kept_check = check_key;
    const int kept_count = search_count;
    // Sizes, their slots, and writes enough to mark most blocks or a few.
    for (auto [mb, slots, writes] : {std::tuple{1L, 32768UL, 60000}, {3L, 65536UL, 30}, {EDITION_HASH_MB, 262144UL, 3000}}) {
        ASSERT_TRUE(set_table_size(mb));
        EXPECT_EQ(tt_slot_mask + 1, slots) << mb;
        search_count = 1;
        for (int i = 0; i < writes; i++) {
            index_key = rng(), check_key = rng() % 4 ? rng() : 0;
            tt_store(int(rng() % 8), int(rng() % 200) - 100, -50, 50);
            tt_record_move(move_bytes{int8_t(rng() % 64), int8_t(rng() % 64), 0, 0}, int(rng() % 100));
        }
        clear_table();
        const unsigned char* p = tt_memory.base;
        EXPECT_TRUE(std::all_of(p, p + slots * sizeof(tt_entry), [](unsigned char b) { return b == 0; })) << mb;
    }
    index_key = kept_index, check_key = kept_check, search_count = kept_count;
}
