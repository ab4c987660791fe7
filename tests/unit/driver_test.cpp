// The search driver: the time budget, the aspiration window and its
// failures, the reasons an iterative-deepening search stops, the summary
// line, and the position being left as it was however the search ends.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include "search_test_util.h"
#include "test_util.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

using namespace search_test;

namespace {

const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
// Re8+ Rxe8 Rxe8 mates: light mates in two.
const char* const MATE_IN_TWO = "3r2k1/5ppp/8/8/8/8/4RPPP/4R1K1 w - - 0 1";
// Ra8 mates at once.
const char* const MATE_IN_ONE = "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1";
// Dark must take on e8 and is then mated by Rxe8.
const char* const MATED_IN_ONE = "3rR1k1/5ppp/8/8/8/8/5PPP/4R1K1 b - - 0 1";
// Light is in check and can only take the queen; the bare kings that remain
// cannot lose.
const char* const SINGLE_REPLY = "k7/8/8/8/8/8/8/Kq6 w - - 0 1";
// Both kings are walled in; only the e-pawns can move until they block each
// other, so even twenty plies cost a few hundred nodes.
const char* const LOCKED = "7k/4p1pP/6P1/8/8/1p6/pP2P3/K7 w - - 0 1";
// The same wall without the e-pawns: light to move has no move at all.
const char* const STALEMATE = "7k/6pP/6P1/8/8/1p6/pP6/K7 w - - 0 1";
// Light has a bare king against queen and four pawns, with no mate in sight.
const char* const HOPELESS = "k7/pppp4/8/8/4K3/8/8/7q w - - 0 1";

class SearchDriver : public testing::Test {
protected:
    saved_settings saved;
};

// Milliseconds the driver added to the time budget during the last search.
int extra_milliseconds() { return int(unsigned(stop_time) - unsigned(start_time)) - max_time * 1000; }

// The four numeric fields of a thinking or summary line, in widths 3, 6, 7
// and 10, then four blanks; the moves follow, each after a blank.
bool well_formed(const std::string& line) {
    static const std::regex fields("^[ 0-9]{2}[0-9][- 0-9]{5}[0-9][ 0-9]{6}[0-9][ 0-9]{9}[0-9]    ( [a-h][1-8][a-h][1-8][qrbn]?| )*$");
    return std::regex_match(line, fields);
}

int field(const std::string& line, int start, int width) { return std::stoi(line.substr(start, width)); }

std::string moves_part(const std::string& line) { return line.substr(26); }

}  // namespace

// ---------------------------------------------------------------------------
// Time budget from the two clocks (centiseconds).

TEST(TreeSurfTime, BudgetIsTheOwnClockOverTwentyTwoHundred) {
    const int kept = max_time;
    struct example {
        long op, own;
        int seconds;
    };
    const example examples[] = {
        {40000, 40000, 18},   // 18 seconds, nothing to raise
        {0, 33000, 15},       // 15 is already more than the smallest raise gives
        {0, 35200, 16},
        {0, 0, 0},
        {0, 3000, 1},         // 30 seconds left is not more than 30: no raise
    };
    for (const example& e : examples) {
        tree_surf_time(e.op, e.own);
        EXPECT_EQ(max_time, e.seconds) << e.op << " " << e.own;
    }
    max_time = kept;
}

TEST(TreeSurfTime, SmallBudgetsAreRaisedWhenThereIsTimeLeft) {
    const int kept = max_time;
    struct example {
        long own;
        int seconds;
    };
    const example examples[] = {
        {5000, 4},    // 2 s, 50 s left
        {3100, 4},    // 1 s, 31 s left
        {6100, 7},    // 2 s, 61 s left
        {6000, 4},    // 60 s left is not more than 60
        {8800, 7},    // 4 s, 88 s left
        {12100, 10},  // 5 s, 121 s left
        {12000, 7},   // 120 s left is not more than 120
        {15400, 10},  // 7 s, 154 s left
        {18100, 15},  // 8 s, 181 s left
        {18000, 10},  // 180 s left is not more than 180
        {22000, 15},  // 10 s, 220 s left
        {30800, 15},  // 14 s, 308 s left
    };
    for (const example& e : examples) {
        tree_surf_time(0, e.own);
        EXPECT_EQ(max_time, e.seconds) << e.own;
    }
    max_time = kept;
}

TEST(TreeSurfTime, OpponentWithMoreThanTenSecondsMoreCutsTheBudgetByAFifth) {
    const int kept = max_time;
    tree_surf_time(60000, 40000);
    EXPECT_EQ(max_time, 14);   // 18 * 4 / 5
    tree_surf_time(41000, 40000);
    EXPECT_EQ(max_time, 18);   // exactly ten seconds more
    tree_surf_time(41001, 40000);
    EXPECT_EQ(max_time, 14);
    tree_surf_time(6001, 5000);
    EXPECT_EQ(max_time, 3);    // raised to 4 first, then cut
    max_time = kept;
}

TEST(SearchClock, TimeIsUpComparesAcrossTheWrapOfTheMillisecondCounter) {
    const int kept = stop_time;
    const unsigned now = unsigned(get_ms());
    // Far ahead, even when the sum wraps past the top of the int range.
    stop_time = int(now + 0x7FFFFFFFu - 3600000u);
    EXPECT_EQ(time_is_up(), 0);
    stop_time = int(now + 3600000u);
    EXPECT_EQ(time_is_up(), 0);
    // Passed, even when the difference wraps.
    stop_time = int(now - 1000u);
    EXPECT_EQ(time_is_up(), 1);
    stop_time = int(now - 0x7FFF0000u);
    EXPECT_EQ(time_is_up(), 1);
    stop_time = kept;
}

// ---------------------------------------------------------------------------
// Completed searches.

TEST_F(SearchDriver, FixedDepthSearchCompletesEveryIterationSilently) {
    set_position(START);
    plain_search_settings(3, 10000);
    const position_state::snapshot before = position_state::take();
    const std::string out = printed_by([] { tree_surf(0); });
    EXPECT_EQ(out, "");   // no thinking lines (the engine is not on move), no summary
    EXPECT_EQ(stop_search, 0);
    EXPECT_EQ(mdpth, 3);
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
    const std::vector<std::string> legal = legal_moves();
    EXPECT_NE(std::find(legal.begin(), legal.end(), coordinates(var_princ.moves[0])), legal.end());
    // The window of the next search is centred on the last score.
    EXPECT_EQ(minki, eval_global - ventana);
    EXPECT_EQ(maxkf, eval_global + ventana);
}

// Every move that beats the zero window is searched again with the full
// window, in the last iteration too; otherwise the last move to pass the
// zero window would be taken as best (a rim pawn move from the start).
TEST_F(SearchDriver, FixedDepthSearchOfTheStartDoesNotPickARimPawnMove) {
    for (int depth : {3, 4}) {
        set_position(START);
        plain_search_settings(depth, 10000);
        tree_surf(1);
        const std::string chosen = coordinates(var_princ.moves[0]);
        EXPECT_TRUE(chosen.rfind("a2", 0) != 0 && chosen.rfind("h2", 0) != 0) << "depth " << depth << ": " << chosen;
        EXPECT_EQ(stop_search, 0);
    }
}

// Depth 4 is the last iteration here, and the mate shows only because the
// mating move, once it beats the zero window, is searched again in full.
TEST_F(SearchDriver, MateInTwoIsFoundInTheLastIterationOfAFixedDepthSearch) {
    set_position(MATE_IN_TWO);
    plain_search_settings(4, 10000);
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(coordinates(var_princ.moves[0]), "e2e8");
    EXPECT_EQ(stop_search, 1);   // the mate stopped the search
    EXPECT_EQ(mdpth, 4);
}

TEST_F(SearchDriver, RootWithoutALegalMoveLeavesNoMove) {
    set_position(STALEMATE);
    plain_search_settings(5, 10000);
    var_princ.moves[0] = move_bytes{12, 20, 0, 0};
    const std::string out = printed_by([] { tree_surf(1); });
    EXPECT_EQ(move_value(var_princ.moves[0]), 0u);
    EXPECT_EQ(stop_search, 0);
    EXPECT_EQ(out, "");
}

// ---------------------------------------------------------------------------
// The aspiration window. The window of a search is the kept one moved by the
// quiescence score of the root. A failure moves it: fail high to
// (s - 10, s + 25), fail low to (s - 25, s + 10); from the fourth failure of
// an iteration on it is the full window, which also adds 3 ms to the budget.

namespace {

// Depth-1 search of the start position with the window (low, high) as the
// search sees it, that is after the root's quiescence score is added.
void depth_one_search_with_window(int low, int high) {
    set_position(START);
    plain_search_settings(1, 100);
    is_endgame = endgame();
    const int root = quiesce(-10000, 10000, 0, QUIESCE_PLIES);
    minki = low - root;
    maxkf = high - root;
    tree_surf(1);
}

int depth_one_score() {
    depth_one_search_with_window(-10000, 10000);
    return eval_global;
}

}  // namespace

TEST_F(SearchDriver, WindowHoldingTheScoreCompletesTheIterationAtOnce) {
    const int s = depth_one_score();
    depth_one_search_with_window(s - 5, s + 5);
    EXPECT_EQ(eval_global, s);
    EXPECT_EQ(minki, s - ventana);
    EXPECT_EQ(maxkf, s + ventana);
    EXPECT_EQ(extra_milliseconds(), 0);
}

TEST_F(SearchDriver, FailHighMovesTheTopOfTheWindowUpByTwentyFive) {
    const int s = depth_one_score();
    // A search failing high returns the top of its window; the top then moves
    // up 25 at a time. From s - 74 three failures reach past s ...
    depth_one_search_with_window(s - 84, s - 74);
    EXPECT_EQ(extra_milliseconds(), 0);
    EXPECT_EQ(eval_global, s);
    // ... from s - 75 the fourth search fails too (a top equal to the score
    // is a failure) and the full window follows.
    depth_one_search_with_window(s - 85, s - 75);
    EXPECT_EQ(extra_milliseconds(), 3);
    EXPECT_EQ(eval_global, s);
    EXPECT_EQ(minki, s - ventana);
    EXPECT_EQ(maxkf, s + ventana);
}

TEST_F(SearchDriver, FailLowMovesTheBottomOfTheWindowDownByTwentyFive) {
    const int s = depth_one_score();
    depth_one_search_with_window(s + 74, s + 84);
    EXPECT_EQ(extra_milliseconds(), 0);
    EXPECT_EQ(eval_global, s);
    depth_one_search_with_window(s + 75, s + 85);
    EXPECT_EQ(extra_milliseconds(), 3);
    EXPECT_EQ(eval_global, s);
    EXPECT_EQ(minki, s - ventana);
    EXPECT_EQ(maxkf, s + ventana);
}

TEST_F(SearchDriver, WindowFarFromTheScoreEndsInTheFullWindowOnce) {
    const int s = depth_one_score();
    depth_one_search_with_window(-5000, -4990);
    EXPECT_EQ(extra_milliseconds(), 3);
    EXPECT_EQ(eval_global, s);
    depth_one_search_with_window(5000, 5010);
    EXPECT_EQ(extra_milliseconds(), 3);
    EXPECT_EQ(eval_global, s);
}

TEST_F(SearchDriver, KeptWindowIsMovedByTheQuiescenceScoreOfTheRoot) {
    // Light is a knight up: the root's quiescence score is far above the
    // kept window (-25, 25), and the search still finds its score without
    // running into the full window.
    set_position("rnbqkb1r/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    plain_search_settings(1, 100);
    is_endgame = endgame();
    ASSERT_GT(quiesce(-10000, 10000, 0, QUIESCE_PLIES), 200);
    minki = -ventana;
    maxkf = ventana;
    tree_surf(1);
    EXPECT_GT(eval_global, 200);
    EXPECT_EQ(extra_milliseconds(), 0);
}

// ---------------------------------------------------------------------------
// Searches that stop before max_depth, through the report.

TEST_F(SearchDriver, MateFoundAtDepthThreeOrMoreStopsTheSearch) {
    set_position(MATE_IN_TWO);
    plain_search_settings(10, 10000);
    const position_state::snapshot before = position_state::take();
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(mdpth, 4);
    EXPECT_EQ(coordinates(var_princ.moves[0]), "e2e8");
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
}

TEST_F(SearchDriver, MateInOneStopsAtDepthThreeNotBefore) {
    set_position(MATE_IN_ONE);
    plain_search_settings(10, 10000);
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(mdpth, 3);
    EXPECT_EQ(coordinates(var_princ.moves[0]), "a1a8");
}

TEST_F(SearchDriver, BeingMatedStopsTheSearchToo) {
    set_position(MATED_IN_ONE);
    plain_search_settings(10, 10000);
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(mdpth, 3);
    EXPECT_EQ(coordinates(var_princ.moves[0]), "d8e8");
}

TEST_F(SearchDriver, SummaryLineIsPrintedEvenBySilentSearch) {
    set_position(MATE_IN_TWO);
    plain_search_settings(10, 10000);
    const std::string out = printed_by([] { tree_surf(1); });
    const std::vector<std::string> lines = lines_of(out);
    ASSERT_EQ(lines.size(), 1u) << out;
    EXPECT_TRUE(well_formed(lines[0])) << lines[0];
    EXPECT_EQ(field(lines[0], 0, 3), 4);
    EXPECT_EQ(field(lines[0], 3, 6), eval_global);
    EXPECT_EQ(field(lines[0], 16, 10), nodes + qnodes);
    // mdpth entries of the line are printed, the mating line first.
    EXPECT_EQ(moves_part(lines[0]).rfind("     e2e8 d8e8 e1e8 ", 0), 0u) << lines[0];
}

TEST_F(SearchDriver, SingleLegalReplyStopsAfterDepthFour) {
    set_position(SINGLE_REPLY);
    plain_search_settings(10, 10000);
    const position_state::snapshot before = position_state::take();
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(mdpth, 4);
    EXPECT_EQ(coordinates(var_princ.moves[0]), "a1b1");
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");

    set_position(SINGLE_REPLY);
    plain_search_settings(3, 10000);
    printed_by([] { tree_surf(1); });
    EXPECT_EQ(stop_search, 0);   // depth 3 is reached before the stop applies
    EXPECT_EQ(mdpth, 3);
    EXPECT_EQ(coordinates(var_princ.moves[0]), "a1b1");
}

TEST_F(SearchDriver, HopelessScoreAfterDepthSixResigns) {
    set_position(HOPELESS);
    plain_search_settings(5, 10000);
    EXPECT_EQ(printed_by([] { tree_surf(1); }), "");
    EXPECT_EQ(stop_search, 0);
    ASSERT_LT(eval_global, -1200);   // hopeless already, but only at depth 5

    set_position(HOPELESS);
    plain_search_settings(8, 10000);
    const position_state::snapshot before = position_state::take();
    const std::vector<std::string> lines = lines_of(printed_by([] { tree_surf(1); }));
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "resign ");
    EXPECT_TRUE(well_formed(lines[1])) << lines[1];
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(mdpth, 6);
}

TEST_F(SearchDriver, IterationsNeverGoPastDepthTwenty) {
    set_position(LOCKED);
    plain_search_settings(30, 10000);
    computer_side = LIGHT;   // the engine is on move: it prints a thinking line per new best move
    const std::string out = printed_by([] { tree_surf(0); });
    EXPECT_EQ(stop_search, 0);   // returned without a summary
    int deepest = 0;
    for (const std::string& line : lines_of(out)) {
        if (line == "Final de partida... ") continue;
        ASSERT_TRUE(well_formed(line)) << line;
        deepest = std::max(deepest, field(line, 0, 3));
    }
    EXPECT_EQ(deepest, 20);
    EXPECT_NE(move_value(var_princ.moves[0]), 0u);

    // A limit of 30 searches exactly what a limit of 20 does.
    set_position(LOCKED);
    plain_search_settings(20, 10000);
    tree_surf(1);
    const long nodes_to_20 = nodes + qnodes;
    set_position(LOCKED);
    plain_search_settings(30, 10000);
    tree_surf(1);
    EXPECT_EQ(nodes + qnodes, nodes_to_20);
}

TEST_F(SearchDriver, ThinkingLinesArePrintedOnlyWhileTheEngineIsOnMove) {
    for (int engine : {EMPTY, DARK}) {
        set_position(START);
        plain_search_settings(2, 10000);
        computer_side = engine;
        EXPECT_EQ(printed_by([] { tree_surf(0); }), "") << engine;
    }
    set_position(START);
    plain_search_settings(2, 10000);
    computer_side = LIGHT;
    const std::vector<std::string> lines = lines_of(printed_by([] { tree_surf(0); }));
    ASSERT_FALSE(lines.empty());
    for (const std::string& line : lines) EXPECT_TRUE(well_formed(line)) << line;
    EXPECT_EQ(lines.front().substr(0, 3), "  1");
    EXPECT_EQ(lines.back().substr(0, 3), "  2");
    // The last new best move is the result.
    EXPECT_EQ(moves_part(lines.back()).substr(5, 4), coordinates(var_princ.moves[0]));
}

// ---------------------------------------------------------------------------
// Running out of time. The time check throws out of the search with the
// moves of the current line still made; the driver takes them back. With a
// budget of 0 the first check (after 9127 interior nodes) stops the search.

namespace {

void expect_time_out_leaves_position(const char* fen) {
    SCOPED_TRACE(fen);
    set_position(fen);
    plain_search_settings(10000, 0);
    const position_state::snapshot before = position_state::take();
    const std::string out = printed_by([] { tree_surf(1); });
    const std::vector<std::string> legal = legal_moves();
    EXPECT_EQ(stop_search, 1);
    EXPECT_GE(nodes, TIME_CHECK_NODES);
    EXPECT_LT(mdpth, 20);
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
    EXPECT_NE(std::find(legal.begin(), legal.end(), coordinates(var_princ.moves[0])), legal.end());
    const std::vector<std::string> lines = lines_of(out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(well_formed(lines[0])) << lines[0];
    EXPECT_EQ(field(lines[0], 0, 3), mdpth);
}

}  // namespace

TEST_F(SearchDriver, TimeOutLeavesThePositionAsItWas) {
    expect_time_out_leaves_position(START);
    // Castling rights, an en passant square and a move counter to restore.
    expect_time_out_leaves_position("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
    expect_time_out_leaves_position("r2q1rk1/ppp2ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPP2PPP/R2Q1RK1 w - - 4 8");
}

TEST_F(SearchDriver, TimeOutInsideANullMoveSearchLeavesThePositionAsItWas) {
    // The search of this position runs out of time below a null move: the
    // null-move record is still marked when the driver takes the line back.
    const char* const fen = "rnbqkbnr/pppppppp/8/8/8/N7/PPPPPPPP/R1BQKBNR b KQkq - 0 1";
    expect_time_out_leaves_position(fen);
    bool null_move_on_the_line = false;
    for (const hist_rec& r : hist_dat) null_move_on_the_line |= (r.castle & 0x80) != 0;
    EXPECT_TRUE(null_move_on_the_line) << "the time-out no longer happens below a null move";
}

TEST_F(SearchDriver, TimeOutOfAConsoleSearchPrintsTheCutoffRates) {
    set_position(START);
    plain_search_settings(10000, 0);
    const std::vector<std::string> lines = lines_of(printed_by([] { tree_surf(0); }));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(well_formed(lines[0])) << lines[0];
    EXPECT_TRUE(std::regex_match(lines[1], std::regex("(Qsearch first cuttofs: [0-9]+% - )?Search first cuttofs: [0-9]+%")))
        << lines[1];
    EXPECT_EQ(lines[1], (cutoffs > 0 ? "Qsearch first cuttofs: " + std::to_string(firstmove * 100 / cutoffs) + "% - " : "") +
                            "Search first cuttofs: " + std::to_string(ab_firstmove * 100 / ab_cutoffs) + "%");
}
