// Transposition table: slot rule, probe answers, replacement and counters.
#include "hash/table.h"
#include "board/position.h"
#include "hash/keys.h"
#include <gtest/gtest.h>

namespace {

class HashTable : public testing::Test {
protected:
    void SetUp() override {
        clear_hash();
        hash_seq = 0;
        side = LIGHT;
        impactos_hash = pifias_hash = colisiones_hash = 0;
    }
    void TearDown() override { clear_hash(); }

    // Puts the current position at the given key.
    static void at(uint64_t key, int s = LIGHT) {
        master_checksum = key;
        side = s;
    }
};

constexpr uint64_t KEY = 1000003;

}  // namespace

TEST_F(HashTable, SameKeyWithEitherSideToMoveUsesDifferentSlots) {
    at(KEY, LIGHT);
    hash_slot* light_slot = hash_slot_pointer();
    at(KEY, DARK);
    hash_slot* dark_slot = hash_slot_pointer();
    EXPECT_EQ(dark_slot - light_slot, 4);
    EXPECT_EQ(light_slot - hash_table, long(KEY % 524277));
}

TEST_F(HashTable, OccupiedHomeSendsLightBelowAndDarkAbove) {
    const int home = int(KEY % 524277);
    write_slot(&hash_table[home], hash_entry{.checksum = 77});
    write_slot(&hash_table[home + 4], hash_entry{.checksum = 77});
    hash_table_dirty = true;
    at(KEY, LIGHT);
    EXPECT_EQ(hash_slot_pointer() - hash_table, home - 1);
    at(KEY, DARK);
    EXPECT_EQ(hash_slot_pointer() - hash_table, home + 4 + 1);
}

TEST_F(HashTable, LightAtTheFirstEntryKeepsTheHomeSlot) {
    write_slot(&hash_table[0], hash_entry{.checksum = 77});
    hash_table_dirty = true;
    at(524277 * 3, LIGHT);
    EXPECT_EQ(hash_slot_pointer(), &hash_table[0]);
    hash_update(2, 10, -100, 100, 50);
    EXPECT_EQ(read_slot(&hash_table[0]).checksum, 524277u * 3);
}

TEST_F(HashTable, ExactEntryAnswersAndCountsHits) {
    at(KEY);
    hash_update(3, 25, -100, 100, 500);
    int score = 0;
    EXPECT_EQ(hash_search(&score, 3, -100, 100), 1);
    EXPECT_EQ(score, 25);
    EXPECT_EQ(impactos_hash, 1);
    EXPECT_EQ(hash_search(&score, 4, -100, 100), 0);   // searched too shallowly
    EXPECT_EQ(pifias_hash, 1);
    at(KEY + 1);
    EXPECT_EQ(hash_search(&score, 1, -100, 100), 0);   // another position
}

TEST_F(HashTable, BoundsAnswerOnlyOnTheirSideOfTheWindow) {
    int score;
    at(KEY);
    hash_update(2, 50, 0, 50, 10);   // score >= beta: lower bound
    EXPECT_EQ(read_slot(hash_slot_pointer()).bound, HASH_LOWER);
    EXPECT_EQ(hash_search(&score, 2, 0, 50), 1);
    EXPECT_EQ(hash_search(&score, 2, 0, 51), 0);
    at(KEY + 7);
    hash_update(2, -20, -20, 100, 10);   // score <= alpha: upper bound
    EXPECT_EQ(read_slot(hash_slot_pointer()).bound, HASH_UPPER);
    EXPECT_EQ(hash_search(&score, 2, -20, 100), 1);
    EXPECT_EQ(hash_search(&score, 2, -21, 100), 0);
}

TEST_F(HashTable, MateScoresAndDepthZeroNeverAnswer) {
    int score;
    at(KEY);
    hash_update(5, 8001, -10000, 10000, 10);
    EXPECT_EQ(hash_search(&score, 1, -10000, 10000), 0);
    at(KEY + 7);
    hash_update(5, -8001, -10000, 10000, 10);
    EXPECT_EQ(hash_search(&score, 1, -10000, 10000), 0);
    at(KEY + 14);
    hash_update(5, 8000, -10000, 10000, 10);
    EXPECT_EQ(hash_search(&score, 1, -10000, 10000), 1);
}

TEST_F(HashTable, DepthZeroStoresNothing) {
    at(KEY);
    hash_update(0, 10, -100, 100, 1000);
    EXPECT_EQ(read_slot(hash_slot_pointer()).checksum, 0u);
    // And a freshly set-up position (key 0) finds no answer in an empty table.
    at(0);
    int score;
    EXPECT_EQ(hash_search(&score, 0, -100, 100), 0);
}

TEST_F(HashTable, RecentCostlierEntriesSurviveCheaperStores) {
    at(KEY);
    hash_seq = 10;
    hash_update(4, 30, -100, 100, 1000);
    hash_seq = 15;   // written five searches ago: kept
    hash_update(2, 99, -100, 100, 999);
    EXPECT_EQ(read_slot(hash_slot_pointer()).score, 30);
    hash_update(2, 99, -100, 100, 1000);   // as much effort: replaced
    EXPECT_EQ(read_slot(hash_slot_pointer()).score, 99);
    EXPECT_EQ(read_slot(hash_slot_pointer()).generation, 15);
    hash_seq = 21;   // six searches later: any store replaces it
    hash_update(1, -5, -100, 100, 1);
    EXPECT_EQ(read_slot(hash_slot_pointer()).score, -5);
    EXPECT_EQ(read_slot(hash_slot_pointer()).depth, 1);
}

TEST_F(HashTable, NewKeyClearsTheMoveAndCountsACollision) {
    const move_bytes m{52, 36, 0, MF_DOUBLE};
    at(KEY);
    hash_update(2, 0, -100, 100, 10);
    hash_move_update(m);
    EXPECT_TRUE(read_slot(hash_slot_pointer()).move == m);
    hash_update(3, 5, -100, 100, 20);   // same position: keeps its move
    EXPECT_TRUE(read_slot(hash_slot_pointer()).move == m);
    EXPECT_EQ(colisiones_hash, 1);

    // A position whose home and alternative slot are this entry's: the
    // alternative (home - 1) is taken over.
    hash_slot* old_slot = hash_slot_pointer();
    hash_slot* alternative = old_slot - 1;
    write_slot(alternative, hash_entry{.checksum = 5, .move = m});
    hash_table_dirty = true;
    at(KEY + 524277);   // same home, other key
    EXPECT_EQ(hash_slot_pointer(), alternative);
    hash_update(1, 0, -100, 100, 10);
    EXPECT_EQ(read_slot(alternative).checksum, KEY + 524277);
    EXPECT_EQ(move_value(read_slot(alternative).move), 0u);
    EXPECT_EQ(colisiones_hash, 2);
}

TEST_F(HashTable, MoveUpdateNeedsAnEntry) {
    at(KEY);
    hash_move_update(move_bytes{52, 36, 0, MF_DOUBLE});
    EXPECT_EQ(read_slot(hash_slot_pointer()).checksum, 0u);
    EXPECT_EQ(move_value(read_slot(hash_slot_pointer()).move), 0u);
}

// Two threads writing one slot at once may leave words of both entries in
// it: the checksum it then gives is neither position's, whichever of the
// words that a probe answers with came from the other write.
TEST_F(HashTable, SlotMixedFromTwoWritesHoldsNeitherPosition) {
    const hash_entry a{.checksum = KEY, .effort = 7, .score = 30, .generation = 2, .move = {12, 28, 0, 0}, .depth = 4, .bound = HASH_EXACT};
    const hash_entry b{.checksum = KEY + 1, .effort = 9, .score = -5, .generation = 3, .move = {52, 36, 0, 0}, .depth = 6, .bound = HASH_LOWER};
    hash_slot sa, sb;
    write_slot(&sa, a);
    write_slot(&sb, b);
    EXPECT_EQ(read_slot(&sa).score, 30);
    EXPECT_TRUE(read_slot(&sb).move == b.move);
    for (int mix = 1; mix < 15; mix++) {
        hash_slot s;
        for (int w = 0; w < 4; w++) s.word[w] = (mix >> w & 1 ? sb : sa).word[w];
        const uint64_t checksum = read_slot(&s).checksum;
        // Only the effort's word may come from the other write unnoticed.
        if (mix == 2 || mix == 13) continue;
        EXPECT_NE(checksum, a.checksum) << mix;
        EXPECT_NE(checksum, b.checksum) << mix;
    }
}
