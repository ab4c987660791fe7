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
