// The transposition table's size, the same through every edition's hooks:
// the default, refused sizes, searches at other sizes, the default size's
// searches unchanged after a resize, how full the table is, and a size the
// memory limit refuses.
#include "board/fen.h"
#include "board/position.h"
#include "frontend/edition_hooks.h"
#include "hash/table_memory.h"
#include "moves/gen.h"
#include "search/driver.h"
#include "search/state.h"
#include "test_util.h"
#include <climits>
#include <cstring>
#include <sys/resource.h>

namespace {

const char* const MIDDLE_GAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";
constexpr long MB = 1L << 20;

class TableSize : public testing::Test {
protected:
    int* const vars[4] = {&max_time, &max_depth, &computer_side, &book_on};
    int kept[4];
    void SetUp() override {
        for (int i = 0; i < 4; i++) kept[i] = *vars[i];
    }
    void TearDown() override {
        for (int i = 0; i < 4; i++) *vars[i] = kept[i];
        ASSERT_TRUE(resize_hash_table(DEFAULT_HASH_MB));
        reset_search_state();
        ply = 0;
    }
};

struct search_result {
    long nodes;
    uint32_t move;
};

// A fixed-depth search of the position as a freshly started program makes it.
search_result fresh_search(const char* fen, int depth) {
    reset_search_state();
    EXPECT_EQ(process_fen(fen), 1);
    ply = 0;
    Move2Gen();
    max_depth = depth, max_time = 10000, book_on = 0, computer_side = EMPTY;
    printed_by([] { tree_surf(1); });
    return {reported_nodes(), move_value(var_princ.moves[0])};
}

}  // namespace

TEST_F(TableSize, StartsAtTheDefaultAndRefusesSizesOutOfRange) {
    EXPECT_EQ(hash_table_mb(), DEFAULT_HASH_MB);
    for (long mb : {0L, -1L, 65537L, LONG_MAX, LONG_MIN}) {
        EXPECT_FALSE(resize_hash_table(mb)) << mb;
        EXPECT_EQ(hash_table_mb(), DEFAULT_HASH_MB) << mb;
    }
    // More than the system can give now is refused before anything is
    // allocated (with overcommitted memory, clearing it would be fatal);
    // twice as much, since 2.3 takes the power of two below the size.
    const long beyond = 2 * long(obtainable_memory() / MB) + 2;
    if (beyond <= 65536) {
        EXPECT_FALSE(resize_hash_table(beyond));
        EXPECT_EQ(hash_table_mb(), DEFAULT_HASH_MB);
    }
}

TEST_F(TableSize, OtherSizesSearchAndTheDefaultSearchesAsBefore) {
    const search_result before = fresh_search(MIDDLE_GAME, 5);
    ASSERT_NE(before.move, 0u);
    for (long mb : {1L, 3L, DEFAULT_HASH_MB * 2}) {
        ASSERT_TRUE(resize_hash_table(mb)) << mb;
        EXPECT_EQ(hash_table_mb(), mb);
        const search_result r = fresh_search(MIDDLE_GAME, 5);
        EXPECT_NE(r.move, 0u) << mb;
        EXPECT_GT(hash_fill_permille(), 0) << mb;
        EXPECT_LE(hash_fill_permille(), 1000) << mb;
    }
    ASSERT_TRUE(resize_hash_table(DEFAULT_HASH_MB));
    const search_result after = fresh_search(MIDDLE_GAME, 5);
    EXPECT_EQ(after.nodes, before.nodes);
    EXPECT_EQ(after.move, before.move);
}

TEST_F(TableSize, FillCountsTheCurrentSearchAndClearingEmptiesTheTable) {
    ASSERT_TRUE(resize_hash_table(1));   // a small table, which a search fills well
    fresh_search(MIDDLE_GAME, 6);
    const int full = hash_fill_permille();
    EXPECT_GT(full, 50);
    // The same size again empties the table; so does Clear Hash.
    ASSERT_TRUE(resize_hash_table(1));
    EXPECT_EQ(hash_fill_permille(), 0);
    fresh_search(MIDDLE_GAME, 6);
    EXPECT_EQ(hash_fill_permille(), full);
    clear_hash_tables();
    EXPECT_EQ(hash_fill_permille(), 0);
    EXPECT_EQ(hash_table_mb(), 1);
}

// A sanitizer's allocator reserves far more address space than any limit
// here would leave it: only the plain build runs this.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TABLE_TEST_SANITIZED
#endif
#endif
#if !defined(__SANITIZE_ADDRESS__) && !defined(TABLE_TEST_SANITIZED)
TEST_F(TableSize, SizeBeyondTheAddressSpaceLimitKeepsTheTable) {
    rlimit kept_limit;
    ASSERT_EQ(getrlimit(RLIMIT_AS, &kept_limit), 0);
    rlimit low = kept_limit;
    low.rlim_cur = rlim_t(1) << 31;   // 2 GiB of address space
    if (kept_limit.rlim_max != RLIM_INFINITY && kept_limit.rlim_max < low.rlim_cur) low.rlim_cur = kept_limit.rlim_max;
    ASSERT_EQ(setrlimit(RLIMIT_AS, &low), 0);
    const bool resized = resize_hash_table(4096);
    ASSERT_EQ(setrlimit(RLIMIT_AS, &kept_limit), 0);
    EXPECT_FALSE(resized);
    EXPECT_EQ(hash_table_mb(), DEFAULT_HASH_MB);
    EXPECT_NE(fresh_search(MIDDLE_GAME, 4).move, 0u);
}
#endif
