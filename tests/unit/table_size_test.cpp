// The table's size through every edition's hooks: refused sizes, searches
// at other sizes, hashfull, Clear Hash, and the default searching as before.
#include "board/fen.h"
#include "frontend/edition_hooks.h"
#include "hash/table_memory.h"
#include "moves/gen.h"
#include "search/driver.h"
#include "test_util.h"
#include <climits>

namespace {

// A depth-5 search of a middle game as a freshly started program makes it:
// its nodes and its move.
std::pair<long, uint32_t> fresh_search() {
    reset_search_state();
    EXPECT_EQ(process_fen("r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8"), 1);
    ply = 0;
    Move2Gen();
    const int kept[3] = {max_depth, max_time, book_on};
    max_depth = 5, max_time = 10000, book_on = 0;
    printed_by([] { tree_surf(1); });
    max_depth = kept[0], max_time = kept[1], book_on = kept[2];
    return {reported_nodes(), move_value(var_princ.moves[0])};
}

}  // namespace

TEST(TableSize, RefusedSizesKeepTheTable) {
    // Twice what the system can give now: 2.3 takes the power of two below.
    const long beyond = 2 * long(obtainable_memory() >> 20) + 2;
    for (long mb : {0L, -1L, 65537L, LONG_MAX, beyond}) {
        EXPECT_FALSE(resize_hash_table(mb)) << mb;
        EXPECT_EQ(hash_table_mb(), DEFAULT_HASH_MB) << mb;
    }
}

TEST(TableSize, OtherSizesSearchAndTheDefaultSearchesAsBefore) {
    const auto before = fresh_search();
    for (long mb : {1L, 3L, 2 * DEFAULT_HASH_MB}) {
        ASSERT_TRUE(resize_hash_table(mb)) << mb;
        EXPECT_EQ(hash_table_mb(), mb);
        EXPECT_EQ(hash_fill_permille(), 0);
        EXPECT_NE(fresh_search().second, 0u) << mb;
        const int fill = hash_fill_permille();
        EXPECT_GT(fill, 0) << mb;
        EXPECT_LE(fill, 1000) << mb;
        clear_hash_tables();
        EXPECT_EQ(hash_fill_permille(), 0) << mb;
        fresh_search();   // an emptied table is searched as a new one
        EXPECT_EQ(hash_fill_permille(), fill) << mb;
    }
    ASSERT_TRUE(resize_hash_table(DEFAULT_HASH_MB));
    EXPECT_EQ(fresh_search(), before);
    reset_search_state();
}
