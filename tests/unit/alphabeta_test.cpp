// The full-width search: the rules of one node (branch statistics, null
// move, extension credit, reductions), mate, stalemate, the fifty-move and
// repetition scores, razoring, the null-move cutoff, the deepest plies, the
// time check and the printed line.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/table.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search_test_util.h"
#include "test_util.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <numeric>
#include <string>

using namespace search_test;
using position_state::mv;
using position_state::sq;

namespace {

// Generates the moves of the current ply and makes the one from `from` to
// `to`, which must be legal.
void play(const char* from, const char* to) {
    Move2Gen();
    const int i = position_state::find(from, to);
    ASSERT_GE(i, 0) << from << to;
    ASSERT_EQ(makemove(gen_dat[i].m), 1) << from << to;
}

void take_back_all() {
    while (ply > 0) takeback();
}

class AlphaBeta : public testing::Test {
protected:
    void SetUp() override {
        std::memcpy(kept_branch, branch, sizeof branch);
        std::memcpy(kept_chash, chash, sizeof chash);
        kept_nodes = nodes;
    }
    void TearDown() override {
        take_back_all();
        std::memcpy(branch, kept_branch, sizeof branch);
        std::memcpy(chash, kept_chash, sizeof chash);
        nodes = kept_nodes;
    }
    saved_settings saved;
    long kept_branch[20], kept_chash[12], kept_nodes;
};

}  // namespace

// ---------------------------------------------------------------------------
// Branch statistics.

TEST_F(AlphaBeta, NodeIsCountedOnceInTheEntryOfItsLegalMoveCount) {
    for (int legal = 1; legal <= 218; legal++) {
        std::memset(branch, 0, sizeof branch);
        for (int n = 1; n <= legal; n++) count_branch(n);
        const int entry = std::min((legal - 1) / 3, 19);   // 61 moves and more: the last entry
        EXPECT_EQ(branch[entry], 1) << legal;
        EXPECT_EQ(std::accumulate(branch, branch + 20, 0L), 1) << legal;
    }
}

TEST_F(AlphaBeta, OnlyASearchThatMayPrintCountsBranches) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    tagLINE line{};
    for (int quiet : {1, 0}) {
        direct_search_state(1);
        silencio = quiet;
        std::memset(branch, 0, sizeof branch);
        alphabeta(-10000, 10000, 1, &line, 0);   // only the root has moves to count: 20
        if (quiet) {
            EXPECT_EQ(std::accumulate(branch, branch + 20, 0L), 0);
        } else {
            EXPECT_EQ(branch[6], 1);
            EXPECT_EQ(std::accumulate(branch, branch + 20, 0L), 1);
        }
    }
}

// ---------------------------------------------------------------------------
// Null move: allowed only when every condition holds.

namespace {

class NullMoveRule : public AlphaBeta {
protected:
    void SetUp() override {
        AlphaBeta::SetUp();
        set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
        is_endgame = 0;
        for (hist_rec& r : hist_dat) r.castle = 0;
        ply = 2;   // deep enough; the records below hold ordinary moves
    }
    void TearDown() override {
        for (hist_rec& r : hist_dat) r.castle = 0;
        ply = 0;
        AlphaBeta::TearDown();
    }
    // The search tries a null move here: the node allows it and makenullmove
    // accepts it (it is taken back at once).
    static bool tried(int depth, int alpha, int beta, bool in_check) {
        if (!null_move_allowed(depth, alpha, beta, in_check)) return false;
        if (!makenullmove()) return false;
        unmakenullmove();
        return true;
    }
};

}  // namespace

TEST_F(NullMoveRule, AllowedWhenEveryConditionHolds) {
    EXPECT_TRUE(tried(2, 0, 0, false));
    EXPECT_TRUE(tried(10, 499, 49, false));
}

TEST_F(NullMoveRule, NotInCheckNorAtDepthOne) {
    EXPECT_FALSE(tried(2, 0, 0, true));
    EXPECT_FALSE(tried(1, 0, 0, false));
}

TEST_F(NullMoveRule, NotInTheEndgamePhase) {
    is_endgame = 1;
    EXPECT_FALSE(tried(3, 0, 0, false));
}

TEST_F(NullMoveRule, NotWithAlphaAbove499) {
    EXPECT_TRUE(tried(3, 499, 0, false));
    EXPECT_FALSE(tried(3, 500, 0, false));
}

TEST_F(NullMoveRule, OnlyWhenOwnMaterialPlus50IsAboveBeta) {
    EXPECT_TRUE(tried(3, 0, 49, false));
    EXPECT_FALSE(tried(3, 0, 50, false));
    // Light a knight up: own material is +305 for light, -305 for dark.
    set_position("rnbqkb1r/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    ply = 2;
    EXPECT_TRUE(tried(3, 0, 354, false));
    EXPECT_FALSE(tried(3, 0, 355, false));
    set_position("rnbqkb1r/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    ply = 2;
    EXPECT_TRUE(tried(3, -400, -256, false));
    EXPECT_FALSE(tried(3, -400, -255, false));
}

TEST_F(NullMoveRule, OnlyFromPlyTwoToTwelve) {
    for (int p : {0, 1, 13, 20}) {
        ply = p;
        EXPECT_FALSE(tried(3, 0, 0, false)) << p;
    }
    for (int p : {2, 7, 12}) {
        ply = p;
        EXPECT_TRUE(tried(3, 0, 0, false)) << p;
    }
}

TEST_F(NullMoveRule, NotWhenEitherOfTheTwoMovesBeforeWasANullMove) {
    ply = 5;
    hist_dat[4].castle |= 0x80;
    EXPECT_FALSE(tried(3, 0, 0, false));
    hist_dat[4].castle = 0;
    hist_dat[3].castle |= 0x80;
    EXPECT_FALSE(tried(3, 0, 0, false));
    hist_dat[3].castle = 0;
    hist_dat[2].castle |= 0x80;   // three moves back no longer matters
    EXPECT_TRUE(tried(3, 0, 0, false));
}

TEST_F(NullMoveRule, NotWhenTheSideToMoveHasOnlyKingAndPawns) {
    set_position("r3k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 0 1");
    ply = 2;
    EXPECT_FALSE(tried(3, 0, -500, false));
    // The other side's pieces do not count; the mover's do.
    set_position("r3k3/pppp4/8/8/8/8/PPPP4/4K3 b - - 0 1");
    ply = 2;
    EXPECT_TRUE(tried(3, 0, 0, false));
}

TEST_F(NullMoveRule, CutoffIsCountedAndReturnsTheNullMoveScore) {
    // Light a queen up, at ply 2: even passing keeps it above beta.
    set_position("rnb1kbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    play("g1", "f3");
    play("g8", "f6");
    direct_search_state(3);
    is_endgame = 0;
    tagLINE line{};
    chash[0] = 0;
    const int s = alphabeta(0, 1, 3, &line, 0);
    EXPECT_EQ(chash[0], 1);
    EXPECT_GE(s, 1);
    // In the endgame phase no null move is tried.
    chash[0] = 0;
    is_endgame = 1;
    clear_hash();
    alphabeta(0, 1, 3, &line, 0);
    EXPECT_EQ(chash[0], 0);
}

// ---------------------------------------------------------------------------
// Extension credit of the move just made; 128 is one ply.

namespace {

class ExtensionCredit : public AlphaBeta {
protected:
    void SetUp() override {
        AlphaBeta::SetUp();
        set_position("r3k2r/pppq1ppp/2n2n2/8/8/2N2N2/PPPQ1PPP/R3K2R w KQkq - 0 1");
        is_endgame = 0;
        for (hist_rec& r : hist_dat) {
            r.capture = EMPTY;
            r.m = move_bytes{};
        }
        ply = 5;   // the child's ply
    }
    void TearDown() override {
        ply = 0;
        AlphaBeta::TearDown();
    }
    // Records ply - 2 and ply - 1 as captures on the given squares.
    static void captures_before(int earlier_to, int last_to) {
        hist_dat[ply - 2].capture = KNIGHT;
        hist_dat[ply - 2].m = move_bytes{int8_t(earlier_to + 8), int8_t(earlier_to), 0, MF_CAPTURE};
        hist_dat[ply - 1].capture = BISHOP;
        hist_dat[ply - 1].m = move_bytes{int8_t(last_to - 8), int8_t(last_to), 0, MF_CAPTURE};
    }
    const move_bytes quiet = mv("f3", "g5");
    const move_bytes pawn_step = mv("a2", "a3", 0, MF_PAWN);
    const move_bytes double_step = mv("a2", "a4", 0, MF_PAWN | MF_DOUBLE);
    const move_bytes promotion = mv("a7", "a8", QUEEN, MF_PAWN | MF_PROMOTE);
};

}  // namespace

TEST_F(ExtensionCredit, CheckEvasionEarnsAFullPlyAndASingleReplyMore) {
    EXPECT_EQ(extension_credit(quiet, true, false, 5, 10000, 0), 128);
    EXPECT_EQ(extension_credit(quiet, true, true, 5, 10000, 0), 153);   // 25 left after one ply
    EXPECT_EQ(extension_credit(quiet, true, false, 5, 10000, 30), 158);
}

TEST_F(ExtensionCredit, SingleReplyOutOfCheckEarns102OnlyAtDepthTwoOrLess) {
    EXPECT_EQ(extension_credit(quiet, false, true, 1, 10000, 0), 102);
    EXPECT_EQ(extension_credit(quiet, false, true, 2, 10000, 0), 102);
    EXPECT_EQ(extension_credit(quiet, false, true, 3, 10000, 0), 0);
    EXPECT_EQ(extension_credit(quiet, false, false, 2, 10000, 0), 0);
}

TEST_F(ExtensionCredit, RecaptureOnTheSameSquareEarns102) {
    captures_before(sq("d5"), sq("d5"));
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 0), 102);
    // Not for a single reply, and not in check (the check rule applies alone).
    EXPECT_EQ(extension_credit(quiet, false, true, 5, 10000, 0), 0);
    EXPECT_EQ(extension_credit(quiet, true, false, 5, 10000, 0), 128);
    // Two captures on different squares are no recapture.
    captures_before(sq("d5"), sq("e5"));
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 0), 0);
    // Both moves must have captured.
    captures_before(sq("d5"), sq("d5"));
    hist_dat[ply - 2].capture = EMPTY;
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 0), 0);
    captures_before(sq("d5"), sq("d5"));
    hist_dat[ply - 1].capture = EMPTY;
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 0), 0);
}

TEST_F(ExtensionCredit, RecaptureNeedsTwoMovesInTheLine) {
    ply = 1;
    hist_dat[0].capture = KNIGHT;
    hist_dat[0].m = mv("e4", "d5", 0, MF_CAPTURE);
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 0), 0);
}

TEST_F(ExtensionCredit, PromotionEarns51) {
    EXPECT_EQ(extension_credit(promotion, false, false, 5, 10000, 0), 51);
    EXPECT_EQ(extension_credit(promotion, true, false, 5, 10000, 0), 179);
}

TEST_F(ExtensionCredit, PawnMoveInTheEndgameEarns51Or102WithOnlyKingsAndPawns) {
    is_endgame = 1;
    set_position("4k3/pp6/8/8/8/8/PP6/R3K3 w - - 0 1");
    EXPECT_EQ(extension_credit(pawn_step, false, false, 5, 10000, 0), 51);
    EXPECT_EQ(extension_credit(double_step, false, false, 5, 10000, 0), 51);
    EXPECT_EQ(extension_credit(mv("a1", "a3"), false, false, 5, 10000, 0), 0);
    set_position("4k3/pp6/8/8/8/8/PP6/4K3 w - - 0 1");
    EXPECT_EQ(extension_credit(pawn_step, false, false, 5, 10000, 0), 102);
    EXPECT_EQ(extension_credit(double_step, false, false, 5, 10000, 0), 102);
    EXPECT_EQ(extension_credit(mv("e1", "d1"), false, false, 5, 10000, 0), 0);
    // Outside the endgame phase a pawn move earns nothing.
    is_endgame = 0;
    EXPECT_EQ(extension_credit(pawn_step, false, false, 5, 10000, 0), 0);
}

TEST_F(ExtensionCredit, MateThreatShownByTheNullMoveEarns51AtDepthThreeOrLess) {
    EXPECT_EQ(extension_credit(quiet, false, false, 3, -9001, 0), 51);
    EXPECT_EQ(extension_credit(quiet, false, false, 1, -9500, 0), 51);
    EXPECT_EQ(extension_credit(quiet, false, false, 4, -9001, 0), 0);
    EXPECT_EQ(extension_credit(quiet, false, false, 3, -9000, 0), 0);
    EXPECT_EQ(extension_credit(quiet, true, false, 3, -9001, 0), 128 + 51);
    // Not in the endgame phase.
    is_endgame = 1;
    EXPECT_EQ(extension_credit(quiet, false, false, 3, -9001, 0), 0);
}

TEST_F(ExtensionCredit, InheritedCreditIsAddedAndHalvedBeyondPly20) {
    ply = 20;
    EXPECT_EQ(extension_credit(quiet, false, false, 3, -9001, 77), 128);
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 25), 25);
    ply = 21;
    EXPECT_EQ(extension_credit(quiet, false, false, 3, -9001, 77), 64);
    EXPECT_EQ(extension_credit(quiet, true, true, 5, 10000, 0), 76);
    EXPECT_EQ(extension_credit(quiet, false, false, 5, 10000, 25), 12);
}

// ---------------------------------------------------------------------------
// Depth decrement of the move just made: 0 extended, 1, or 2 reduced.

namespace {

class DepthDecrement : public AlphaBeta {
protected:
    void SetUp() override {
        AlphaBeta::SetUp();
        for (hist_rec& r : hist_dat) r.capture = EMPTY;
        ply = 4;
        mdpth = 6;
    }
    void TearDown() override {
        for (hist_rec& r : hist_dat) r.capture = EMPTY;
        ply = 0;
        AlphaBeta::TearDown();
    }
};

}  // namespace

TEST_F(DepthDecrement, ExtendedMoveLosesNoDepth) {
    EXPECT_EQ(depth_decrement(true, false, 5, -1000, 30), 0);
    EXPECT_EQ(depth_decrement(true, true, 1, 0, 0), 0);
}

TEST_F(DepthDecrement, LateBadQuietMoveIsReducedInEvenIterations) {
    EXPECT_EQ(depth_decrement(false, false, 3, -151, 4), 2);
    EXPECT_EQ(depth_decrement(false, false, 3, -150, 4), 1);
    EXPECT_EQ(depth_decrement(false, false, 3, -151, 3), 1);
    EXPECT_EQ(depth_decrement(false, false, 2, -151, 4), 1);   // depth 2 or less
    EXPECT_EQ(depth_decrement(false, true, 3, -151, 4), 1);    // in check
    hist_dat[ply - 1].capture = PAWN;                          // a capture
    EXPECT_EQ(depth_decrement(false, false, 3, -151, 4), 1);
}

TEST_F(DepthDecrement, NoReductionInOddIterations) {
    for (int iteration : {1, 3, 5, 7}) {
        mdpth = iteration;
        EXPECT_EQ(depth_decrement(false, false, 5, -1000, 40), 1) << iteration;
        ply = 3;
        EXPECT_EQ(depth_decrement(false, false, 5, 0, 40), 1) << iteration;
        ply = 4;
    }
}

TEST_F(DepthDecrement, ManyFailedMovesAtPliesThreeFiveAndSevenAreReduced) {
    struct rule {
        int ply, fails;
    };
    for (rule r : {rule{3, 18}, rule{5, 15}, rule{7, 12}}) {
        ply = r.ply;
        EXPECT_EQ(depth_decrement(false, false, 3, 0, r.fails), 1) << r.ply;
        EXPECT_EQ(depth_decrement(false, false, 3, 0, r.fails + 1), 2) << r.ply;
    }
    for (int p : {2, 4, 6, 8}) {
        ply = p;
        EXPECT_EQ(depth_decrement(false, false, 3, 0, 40), 1) << p;
    }
}

// ---------------------------------------------------------------------------
// Scores of whole nodes.

TEST_F(AlphaBeta, CheckmatedSideAtPlyThreeScoresMinus9997) {
    set_position("rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq g3 0 2");
    const position_state::snapshot before = position_state::take();
    play("b8", "c6");
    play("b1", "c3");
    play("d8", "h4");   // mate
    direct_search_state(2);
    tagLINE line{};
    EXPECT_EQ(alphabeta(-10000, 10000, 2, &line, 0), -9997);
    EXPECT_EQ(ply, 3);
    take_back_all();
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
}

TEST_F(AlphaBeta, StalematedSideScoresZero) {
    set_position("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    direct_search_state(3);
    tagLINE line{};
    EXPECT_EQ(alphabeta(-10000, 10000, 3, &line, 0), 0);
}

TEST_F(AlphaBeta, FiftyMovesWithoutProgressScoreZeroAfterTheSearch) {
    tagLINE line{};
    set_position("4k3/8/8/8/8/8/8/3QK3 w - - 99 80");
    direct_search_state(1);
    EXPECT_GT(alphabeta(-10000, 10000, 1, &line, 0), 500);
    fifty = 100;   // the FEN reader takes two digits only
    nodes = 0;
    EXPECT_EQ(alphabeta(-10000, 10000, 1, &line, 0), 0);
    EXPECT_GT(nodes, 1);   // the moves were searched all the same
}

TEST_F(AlphaBeta, PositionSeenTwiceBeforeInTheLineScoresTwoAtTheLeaf) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    direct_search_state(1);
    tagLINE line{};
    const char* const shuffle[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
    for (const auto& m : shuffle) play(m[0], m[1]);
    // Seen once before (at the root): the quiescence score.
    EXPECT_EQ(alphabeta(-10000, 10000, 0, &line, 0), quiesce(-10000, 10000, 0, QUIESCE_PLIES));
    EXPECT_NE(quiesce(-10000, 10000, 0, QUIESCE_PLIES), 2);
    for (const auto& m : shuffle) play(m[0], m[1]);
    EXPECT_EQ(alphabeta(-10000, 10000, 0, &line, 0), 2);
    EXPECT_EQ(line.count, 0);
}

TEST_F(AlphaBeta, MoveIntoARepeatedPositionScoresTwoOnlyWhileAlphaIsAtMost8999) {
    // Three rounds of knight moves out and back, recorded as the front end
    // does: the position after g1f3 then stands twice among the last ten
    // game records.
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const char* const shuffle[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};
    for (int round = 0; round < 3; round++)
        for (const auto& m : shuffle) {
            play(m[0], m[1]);
            undo_dat[undos++] = hist_dat[0];
            ply = 0;
        }
    ASSERT_EQ(undos, 12);
    tagLINE line{};
    const int knight_out = sq("g1") * 64 + sq("f3");
    for (int alpha : {-10000, 8999, 9000}) {
        Move2Gen();
        direct_search_state(1);
        clear_ordering();
        clear_hash();
        alphabeta(alpha, 10000, 1, &line, 0);
        if (alpha <= 8999) EXPECT_EQ(ply0_history[knight_out], 2) << alpha;   // even below alpha
        else EXPECT_EQ(ply0_history[knight_out], alpha) << alpha;             // searched, and it failed low
    }
    clear_ordering();
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");   // an empty game record
}

TEST_F(AlphaBeta, PlyOf63IsALeafScoredWithoutGenerating) {
    set_position("r3k2r/pppq1ppp/2n2n2/3pp3/3PP3/2N2N2/PPPQ1PPP/R3K2R w KQkq - 0 1");
    direct_search_state(5);
    ply = MAX_PLY - 1;
    gen_begin[ply] = gen_end[ply] = 1234;
    gen_begin[ply + 1] = 4321;
    const int expected = eval(-10000, 10000);
    tagLINE line{};
    line.count = 7;
    nodes = 0;
    EXPECT_EQ(alphabeta(-10000, 10000, 5, &line, 0), expected);
    EXPECT_EQ(line.count, 0);
    EXPECT_EQ(nodes, 1);
    EXPECT_EQ(gen_begin[ply], 1234);
    EXPECT_EQ(gen_end[ply], 1234);
    EXPECT_EQ(gen_begin[ply + 1], 4321);
    EXPECT_EQ(ply, MAX_PLY - 1);
    ply = 0;
}

// ---------------------------------------------------------------------------
// Razoring: near the leaves, a side far behind alpha, even allowing for its
// best capture, is scored by the quiescence search alone.

namespace {

// Dark a rook up makes a quiet move; light is then to move at ply 1, with
// nothing to capture.
void rook_down_at_ply_one() {
    set_position("r3k3/8/8/8/8/8/8/4K3 b - - 0 1");
    play("e8", "d8");
}

// Searches the current node and tells whether it was cut by razoring: a
// razored node calls nothing but the quiescence search, so it is the only
// node counted.
bool razored(int alpha, int depth, int credit) {
    tagLINE line{};
    clear_hash();
    nodes = 0;
    chash[4] = 0;
    const int s = alphabeta(alpha, alpha + 1, depth, &line, credit);
    const bool cut = nodes == 1;
    if (cut) {
        EXPECT_EQ(chash[4], 1);
        EXPECT_EQ(s, alpha);   // the quiescence score, at most alpha: here alpha itself
    }
    return cut;
}

}  // namespace

TEST_F(AlphaBeta, RazoringCutsWhenOwnMaterialPlus150IsBelowAlpha) {
    rook_down_at_ply_one();
    direct_search_state(2);
    EXPECT_TRUE(razored(-349, 2, 0));    // -500 + 150 < -349
    EXPECT_FALSE(razored(-350, 2, 0));   // -500 + 150 = -350
}

TEST_F(AlphaBeta, RazoringOnlyAtDepthThreeOrLessWithoutCreditBelowTheRoot) {
    rook_down_at_ply_one();
    direct_search_state(4);
    EXPECT_TRUE(razored(-300, 3, 0));
    EXPECT_TRUE(razored(-300, 1, 0));
    EXPECT_FALSE(razored(-300, 4, 0));
    EXPECT_FALSE(razored(-300, 1, 1));   // inherited credit
    takeback();
    // At the root.
    set_position("r2k4/8/8/8/8/8/8/4K3 w - - 0 1");
    direct_search_state(1);
    EXPECT_FALSE(razored(-300, 1, 0));
}

TEST_F(AlphaBeta, RazoringAllowsForTheBestCaptureTimesFourThirds) {
    // Light can take an undefended knight (305, counted as 406): with dark a
    // rook and a knight up, own material -805 needs alpha above -399.
    set_position("r6k/8/8/8/8/8/3n4/4K3 b - - 0 1");
    play("a8", "b8");
    direct_search_state(2);
    EXPECT_FALSE(razored(-399, 2, 0));
    EXPECT_TRUE(razored(-398, 2, 0));
}

// ---------------------------------------------------------------------------
// The time check: the clock is read once every 9127 interior nodes, and a
// passed stop time throws out of the search with the line's moves made.

TEST_F(AlphaBeta, TimeCheckReadsTheClockOnlyEvery9127InteriorNodes) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    direct_search_state(1);
    stop_time = int(unsigned(get_ms()) - 1000u);   // already passed
    tagLINE line{};
    chk_counter = TIME_CHECK_NODES - 2;   // the root is the only interior node
    stop_search = 0;
    EXPECT_NO_THROW(alphabeta(-10000, 10000, 1, &line, 0));
    EXPECT_EQ(chk_counter, TIME_CHECK_NODES - 1);
    EXPECT_EQ(stop_search, 0);
    // A leaf does not count.
    EXPECT_NO_THROW(alphabeta(-10000, 10000, 0, &line, 0));
    EXPECT_EQ(chk_counter, TIME_CHECK_NODES - 1);
    EXPECT_THROW(alphabeta(-10000, 10000, 1, &line, 0), search_timeout);
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(chk_counter, 0);
    EXPECT_EQ(ply, 0);
}

TEST_F(AlphaBeta, TimeCheckWithTimeLeftGoesOn) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    direct_search_state(1);
    tagLINE line{};
    chk_counter = TIME_CHECK_NODES - 1;
    stop_search = 0;
    EXPECT_NO_THROW(alphabeta(-10000, 10000, 1, &line, 0));
    EXPECT_EQ(chk_counter, 0);
    EXPECT_EQ(stop_search, 0);
}

TEST_F(AlphaBeta, TimeOutBelowTheRootLeavesTheLineMade) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const position_state::snapshot before = position_state::take();
    direct_search_state(2);
    stop_time = int(unsigned(get_ms()) - 1000u);
    chk_counter = TIME_CHECK_NODES - 2;   // the root passes, its first child reads the clock
    tagLINE line{};
    EXPECT_THROW(alphabeta(-10000, 10000, 2, &line, 0), search_timeout);
    EXPECT_EQ(ply, 1);
    EXPECT_EQ(side, DARK);
    take_back_all();
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
}

// ---------------------------------------------------------------------------
// The printed line: depth in 3 characters, score in 6, centiseconds in 7,
// nodes in 10, four blanks, then a blank and a move per entry.

TEST_F(AlphaBeta, PrintedLineHasFixedWidthFieldsAndOneBlankPerMove) {
    const long kept_qnodes = qnodes;
    const int kept_start = start_time;
    tagLINE line{};
    line.count = 5;
    line.moves[0] = mv("e2", "e4");
    line.moves[1] = mv("e7", "e5");
    line.moves[2] = mv("g1", "f3");
    line.moves[3] = mv("b8", "c6");
    line.moves[4] = mv("f1", "b5");
    nodes = 18211;
    qnodes = 0;
    start_time = get_ms();
    const std::string out = printed_by([&] { print_line(5, 31, &line, 5, nodes + qnodes); });
    ASSERT_EQ(out.size(), 56u) << out;
    EXPECT_EQ(out.substr(0, 9), "  5    31");
    EXPECT_TRUE(out.substr(9, 7).find_first_not_of(' ') != std::string::npos);
    EXPECT_EQ(out.substr(9, 7).find_first_not_of(" 0123456789"), std::string::npos);
    EXPECT_EQ(out.substr(16), "     18211     e2e4 e7e5 g1f3 b8c6 f1b5\n");
    // An entry whose squares are equal prints only its blank.
    line.moves[1] = move_bytes{};
    EXPECT_EQ(printed_by([&] { print_line(5, 31, &line, 3, nodes + qnodes); }).substr(16), "     18211     e2e4  g1f3\n");
    qnodes = kept_qnodes;
    start_time = kept_start;
}

TEST_F(AlphaBeta, PrintedLineStopsAtSixtyMoves) {
    const int kept_start = start_time;
    tagLINE line{};
    line.count = MAX_LINE;
    for (int i = 0; i < MAX_LINE; i++) line.moves[i] = i % 2 ? mv("f3", "g1") : mv("g1", "f3");
    start_time = get_ms();
    const std::string out = printed_by([&] { print_line(21, 0, &line, 70, 0); });
    ASSERT_GT(out.size(), 30u);
    const std::string moves = out.substr(30);
    EXPECT_EQ(std::count(moves.begin(), moves.end(), ' '), 60);
    EXPECT_EQ(moves.size(), 60u * 5 + 1);
    start_time = kept_start;
}
