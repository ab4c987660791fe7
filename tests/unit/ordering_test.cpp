// Move ordering: lazy selection from the move list, killer moves, the
// principal-variation bonus and the forced-reply test.
#include "board/fen.h"
#include "board/position.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

using namespace position_state;

namespace {

// A made-up move told apart by its index.
move_bytes numbered(int i) { return move_bytes{int8_t(i % 64), int8_t((i + 1) % 64), 0, int8_t(i / 64)}; }

// Fills the list of ply p, starting at index `first`, with numbered moves
// scored as given.
void fill_list(int p, int first, std::initializer_list<int> scores) {
    ply = p;
    gen_begin[p] = first;
    int i = first;
    for (int s : scores) {
        gen_dat[i].m = numbered(i);
        gen_dat[i].score = s;
        i++;
    }
    gen_end[p] = i;
}

std::vector<int> scores_of_list() {
    std::vector<int> v;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) v.push_back(gen_dat[i].score);
    return v;
}

class Ordering : public testing::Test {
protected:
    void SetUp() override {
        clear_ordering();
        ply = 0;
    }
    void TearDown() override {
        clear_ordering();
        ply = 0;
    }
};

}  // namespace

TEST_F(Ordering, SortBringsTheFirstBestMoveForwardWithItsScore) {
    fill_list(0, 0, {5, 7, 3, 7});
    sort(0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{7, 5, 3, 7}));
    EXPECT_EQ(gen_dat[0].m, numbered(1));
    EXPECT_EQ(gen_dat[1].m, numbered(0));
    sort(1);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{7, 7, 3, 5}));
    EXPECT_EQ(gen_dat[1].m, numbered(3));
}

TEST_F(Ordering, SortLeavesNegativeScoresInPlace) {
    fill_list(0, 0, {-3, -1, -800});
    sort(0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{-3, -1, -800}));
    EXPECT_EQ(gen_dat[0].m, numbered(0));
    // A score of 0 is worth selecting.
    fill_list(0, 0, {-3, 0, -1});
    sort(0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{0, -3, -1}));
}

TEST_F(Ordering, SortLooksFurtherAfterTheTenthPositionOnlyForHighScores) {
    std::initializer_list<int> scores = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 999, 0, 5000, 0};
    fill_list(0, 0, scores);
    sort(10);
    EXPECT_EQ(gen_dat[10].score, 999);
    EXPECT_EQ(gen_dat[12].score, 5000);

    fill_list(0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1000, 0, 5000, 0});
    sort(10);
    EXPECT_EQ(gen_dat[10].score, 5000);
    EXPECT_EQ(gen_dat[10].m, numbered(12));
    EXPECT_EQ(gen_dat[12].score, 1000);

    // The tenth position itself (first + 9) still selects.
    fill_list(0, 0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 5000, 0});
    sort(9);
    EXPECT_EQ(gen_dat[9].score, 5000);
}

TEST_F(Ordering, SortCountsPositionsFromTheStartOfThisPlysList) {
    fill_list(0, 0, {1, 2, 3, 4, 5});
    gen_begin[1] = 5;
    fill_list(1, 5, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5000});
    sort(14);   // the tenth position of ply 1
    EXPECT_EQ(gen_dat[14].score, 5000);
    fill_list(1, 5, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 5000});
    sort(15);   // the eleventh, scoring 0
    EXPECT_EQ(gen_dat[15].score, 0);
    EXPECT_EQ(gen_dat[16].score, 5000);
}

TEST_F(Ordering, KillerSlotsCountRepeatsAndReplaceTheWeakerSlot) {
    const move_bytes a = numbered(1), b = numbered(2), c = numbered(3), d = numbered(4);
    fill_list(5, 0, {0, 0, 0, 0, 0});
    killer_update(1);                  // both counters 0: slot 0 takes it
    EXPECT_EQ(killers[5][0].m, a);
    EXPECT_EQ(killers[5][0].count, 0);
    killer_update(1);
    EXPECT_EQ(killers[5][0].count, 1);
    killer_update(2);                  // 1 against 0: slot 1 is replaced
    EXPECT_EQ(killers[5][1].m, b);
    EXPECT_EQ(killers[5][1].count, 0);
    killer_update(2);
    killer_update(2);
    EXPECT_EQ(killers[5][1].count, 2);
    EXPECT_EQ(killers[5][0].count, 1);
    killer_update(3);                  // 1 against 2: slot 0 is replaced, counter back to 0
    EXPECT_EQ(killers[5][0].m, c);
    EXPECT_EQ(killers[5][0].count, 0);
    EXPECT_EQ(killers[5][1].m, b);
    // Other plies are untouched.
    EXPECT_EQ(move_value(killers[4][0].m), 0u);
    EXPECT_EQ(move_value(killers[6][0].m), 0u);

    // Counters 3 and 1: the third move replaces slot 1; 2 and 2: slot 0.
    killers[5][0] = {a, 3};
    killers[5][1] = {b, 1};
    killer_update(4);
    EXPECT_EQ(killers[5][0].m, a);
    EXPECT_EQ(killers[5][1].m, d);
    EXPECT_EQ(killers[5][1].count, 0);
    killers[5][0] = {a, 2};
    killers[5][1] = {b, 2};
    killer_update(4);
    EXPECT_EQ(killers[5][0].m, d);
    EXPECT_EQ(killers[5][1].m, b);
}

TEST_F(Ordering, PrincipalVariationMoveGetsTheBonusOnce) {
    fill_list(3, 0, {10, 20, 30, 40});
    gen_dat[3].m = numbered(1);   // the same move listed twice
    var_princ.moves[3] = numbered(1);
    follow_pv = 0;
    sort_pv();
    EXPECT_EQ(follow_pv, 1);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{10, 200020, 30, 40}));

    var_princ.moves[3] = numbered(9);
    sort_pv();
    EXPECT_EQ(follow_pv, 0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{10, 200020, 30, 40}));
}

// The line holds 60 moves: from ply 60 on there is nothing to follow.
TEST_F(Ordering, PrincipalVariationEndsAtTheLengthOfTheLine) {
    fill_list(MAX_LINE - 1, 0, {1, 2});
    var_princ.moves[MAX_LINE - 1] = numbered(1);
    sort_pv();
    EXPECT_EQ(follow_pv, 1);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{1, 200002}));

    fill_list(MAX_LINE, 0, {1, 2});
    follow_pv = 1;
    sort_pv();
    EXPECT_EQ(follow_pv, 0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{1, 2}));
    fill_list(MAX_PLY - 1, 0, {1, 2});
    follow_pv = 1;
    sort_pv();
    EXPECT_EQ(follow_pv, 0);
    EXPECT_EQ(scores_of_list(), (std::vector<int>{1, 2}));
}

TEST(OnlyOne, ExactlyOneLegalReplyAmongFewMoves) {
    struct {
        const char* fen;
        int expected;
        const char* why;
    } cases[] = {
        // The knight on f1 is pinned; only Kh1-g1 is legal among 5 moves.
        {"k7/8/8/8/8/8/1r6/r4N1K w - - 0 1", 1, "one of five"},
        {"k7/8/8/8/8/8/1r6/7K w - - 0 1", 1, "the only move"},
        // Seven pseudo-legal moves, Kg1 the only legal one: too many to look.
        {"k6r/8/8/8/4b3/7N/6P1/5n1K w - - 0 1", 0, "one of seven"},
        {"k7/8/8/8/8/8/8/1r5K w - - 0 1", 0, "two legal"},
        // Pinned knight moves only: no legal move.
        {"k5rr/8/8/8/8/8/7N/7K w - - 0 1", 0, "none legal"},
        {"7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 0, "no move at all"},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(process_fen(c.fen), 1) << c.fen;
        Move2Gen();
        const std::vector<gen_rec> list = listed();
        const snapshot before = take();
        EXPECT_EQ(only_one(), c.expected) << c.why;
        EXPECT_EQ(differences(before, take()), "") << c.why;
        // The list is left as it was.
        ASSERT_EQ(gen_end[0] - gen_begin[0], int(list.size())) << c.why;
        for (size_t i = 0; i < list.size(); i++) EXPECT_EQ(gen_dat[gen_begin[0] + i].m, list[i].m) << c.why;
    }
}
