// XBoard mode's clock in every edition: "level" as interfaces send it, and
// whole games on a simulated clock in which no move oversteps the clock,
// whatever the edition's own rule gives.
#include <gtest/gtest.h>
#include "board/position.h"
#include "frontend/xboard.h"
#include "search/state.h"
#include <algorithm>

namespace {

// Plays `moves` moves of the engine under "level <level>", each spending its
// whole budget and `overhead_ms` besides (the interface's share); the clock
// gains the increment after each move and the base at each control. The
// least the clock held before a move.
long lowest_clock(const char* level, int moves, long overhead_ms) {
    init();
    eval_global = 0;
    EXPECT_TRUE(read_level(level));
    const long base_ms = total_time * 10;
    long clock = base_ms, lowest = clock;
    for (int i = 0; i < moves; i++) {
        total_time = op_time = clock / 10;
        game_plies = 2 * i;   // the engine plays light
        const long spent = clock_budget_ms();
        EXPECT_GT(spent, 0) << level << ", move " << i;
        EXPECT_LT(spent, clock) << level << ", move " << i;
        clock += increment_ms - spent - overhead_ms;
        if (moves_per_session > 0 && (i + 1) % moves_per_session == 0) clock += base_ms;
        lowest = std::min(lowest, clock);
    }
    clear_game_record();
    return lowest;
}

}  // namespace

TEST(XboardClock, LevelReadsSessionsBaseAndFractionalIncrements) {
    EXPECT_TRUE(read_level(" 40 5 0"));
    EXPECT_EQ(moves_per_session, 40);
    EXPECT_EQ(total_time, 30000);
    EXPECT_EQ(op_time, 30000);
    EXPECT_EQ(increment_ms, 0);
    EXPECT_TRUE(read_level(" 40 0:15 0"));
    EXPECT_EQ(total_time, 1500);
    EXPECT_TRUE(read_level(" 0 2 12"));
    EXPECT_EQ(moves_per_session, 0);
    EXPECT_EQ(increment_ms, 12000);
    EXPECT_TRUE(read_level(" 0 0:30 0.05"));
    EXPECT_EQ(increment_ms, 50);
    EXPECT_EQ(total_time, 3000);
    for (const char* bad : {"", " x", " 40", " 40 5", " -1 5 0", " 40 -5 0", " 40 5 -1", " 40 0: 0"})
        EXPECT_FALSE(read_level(bad)) << '"' << bad << '"';
    EXPECT_EQ(total_time, 3000);   // a refused level changes nothing
}

TEST(XboardClock, NoMoveOverstepsTheClockAtFastControls) {
    // Fifteen seconds for 40 moves, for the game, with an increment; a
    // minute for the game. A game without increment cannot last for ever
    // when every move costs the interface a fixed share besides.
    EXPECT_GT(lowest_clock(" 40 0:15 0", 120, 30), 0);
    EXPECT_GT(lowest_clock(" 0 0:15 0", 80, 5), 0);
    EXPECT_GT(lowest_clock(" 0 0:05 0.05", 200, 10), 0);
    EXPECT_GT(lowest_clock(" 0 1 0", 100, 10), 0);
}

TEST(XboardClock, LongerControlsStillGetTheRulesBudget) {
    init();
    eval_global = 0;
    ASSERT_TRUE(read_level(" 40 5 0"));   // 300 seconds: every rule gives seconds
    const long budget = clock_budget_ms();
    EXPECT_GE(budget, 1000);
    EXPECT_LE(budget, long(max_time) * 1000);
}
