// The UCI time budget of every edition: at a fast increment clock the game
// never runs the clock down, and a move never takes what is left.
#include <gtest/gtest.h>
#include "board/position.h"
#include "frontend/uci.h"
#include "search/state.h"

namespace {

// Plays `moves` moves of the side to move, each taking its whole budget
// and `overhead_ms` besides (the interface's share of each move).
long clock_after(long start_ms, long inc_ms, int moves, long overhead_ms = 0) {
    long clock = start_ms;
    for (int i = 0; i < moves; i++) {
        go_limits go;
        go.wtime = go.btime = clock;
        go.winc = go.binc = inc_ms;
        const long spent = budget_for(go);
        EXPECT_GT(spent, 0);
        EXPECT_LT(spent, clock) << "move " << i;
        clock += inc_ms - spent - overhead_ms;
    }
    return clock;
}

}  // namespace

TEST(UciBudget, TenSecondsAndATenthKeepsASecondOnTheClockForAHundredMoves) {
    init();
    eval_global = 0;
    EXPECT_GE(clock_after(10000, 100, 100), 900);
}

TEST(UciBudget, AMinuteWithoutIncrementLastsAHundredMovesWithSlowInterfaces) {
    init();
    eval_global = 0;
    EXPECT_GT(clock_after(60000, 0, 100, 30), 0);
}

TEST(UciBudget, MovetimeAndClocksAndNothing) {
    init();
    go_limits go;
    EXPECT_EQ(budget_for(go), 0);   // depth, nodes, infinite: no clock
    go.movetime = 0;
    EXPECT_EQ(budget_for(go), 1);
    go.movetime = 2500;
    EXPECT_EQ(budget_for(go), 2500);
    go = go_limits{};
    go.wtime = 60000;
    go.btime = 1;
    go.movestogo = 1;
    EXPECT_LE(budget_for(go), 60000 / 2);   // the last move before the control keeps a reserve
    go.wtime = 0;
    EXPECT_EQ(budget_for(go), 1);
    go.wtime = -500;   // over time already: move at once
    EXPECT_EQ(budget_for(go), 1);
}

TEST(UciBudget, ClocksPast32BitsGiveABoundedBudget) {
    init();
    eval_global = 0;
    // Past 2^31 ms, and the largest numbers a "go" takes (10^9), with and
    // without increments that a 32-bit sum of ten of them would overflow:
    // the budget is seconds at least, at most a share of the clock, and
    // within the search's int.
    const std::int64_t cases[][2] = {{3000000000, 0}, {3000000000, 200000000}, {1000000000, 500000000},
                                     {1000000000, 1000000000}};
    for (const auto& [clock, inc] : cases) {
        go_limits go;
        go.wtime = go.btime = clock;
        go.winc = go.binc = inc;
        const std::int64_t budget = budget_for(go);
        EXPECT_GE(budget, 1000) << clock << " + " << inc;   // every rule gives seconds on such a clock
        EXPECT_LE(budget, inc > 0 ? clock / 10 + inc : clock / 30) << clock << " + " << inc;
        EXPECT_LE(budget, INT32_MAX) << clock << " + " << inc;
    }
}
