// The quiescence search: where it stops and evaluates, the material
// shortcut, stand pat, evasions in check, and which captures it skips.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include "search/quiesce.h"
#include "search_test_util.h"
#include <gtest/gtest.h>
#include <cstring>

using namespace search_test;
using position_state::mv;
using position_state::sq;

namespace {

class Quiesce : public testing::Test {
protected:
    void SetUp() override {
        std::memcpy(kept_chash, chash, sizeof chash);
        is_endgame = 0;
        qnodes = 0;
    }
    void TearDown() override {
        std::memcpy(chash, kept_chash, sizeof chash);
        ply = 0;
    }
    saved_settings saved;
    long kept_chash[12];
};

// Light's queen can take an undefended pawn on d5; nothing else can capture.
const char* const FREE_PAWN = "k7/8/8/3p4/8/8/8/K2Q4 w - - 0 1";

}  // namespace

TEST_F(Quiesce, AtTheQuiescencePlyLimitItEvaluatesWithoutGenerating) {
    set_position(FREE_PAWN);
    ASSERT_GT(quiesce(-10000, 10000, 4, 5), eval(-10000, 10000) + 50);   // the pawn is won one ply earlier
    gen_begin[0] = gen_end[0] = 77;
    qnodes = 0;
    EXPECT_EQ(quiesce(-10000, 10000, 5, 5), eval(-10000, 10000));
    EXPECT_EQ(gen_end[0], 77);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, BeyondPly62ItEvaluatesWithoutGenerating) {
    set_position(FREE_PAWN);
    ply = 62;
    gen_begin[62] = 0;
    EXPECT_GT(quiesce(-10000, 10000, 0, QUIESCE_PLIES), eval(-10000, 10000) + 50);
    ply = 63;
    gen_begin[63] = gen_end[63] = 77;
    gen_begin[64] = 88;
    qnodes = 0;
    EXPECT_EQ(quiesce(-10000, 10000, 0, QUIESCE_PLIES), eval(-10000, 10000));
    EXPECT_EQ(gen_end[63], 77);
    EXPECT_EQ(gen_begin[64], 88);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, SideFarAheadInMaterialReturnsMaterialLess100) {
    // Light a queen up (900): above beta by more than 400 it stops at once.
    set_position("k7/8/8/8/8/8/8/K2Q4 w - - 0 1");
    EXPECT_EQ(quiesce(-10000, 499, 0, QUIESCE_PLIES), 800);
    ASSERT_NE(eval(-10000, 500), 800);
    EXPECT_EQ(quiesce(-10000, 500, 0, QUIESCE_PLIES), eval(-10000, 500));   // stand pat
    // The same from dark's side.
    set_position("k2q4/8/8/8/8/8/8/K7 b - - 0 1");
    EXPECT_EQ(quiesce(-10000, 499, 0, QUIESCE_PLIES), 800);
    // Material is counted for the side to move: a queen down, -900 - 400
    // is above a beta of -1301.
    set_position("k2q4/8/8/8/8/8/8/K7 w - - 0 1");
    EXPECT_EQ(quiesce(-10000, -1301, 0, QUIESCE_PLIES), -1000);
    ASSERT_NE(eval(-10000, -1300), -1000);
    EXPECT_EQ(quiesce(-10000, -1300, 0, QUIESCE_PLIES), eval(-10000, -1300));
}

TEST_F(Quiesce, QuietPositionReturnsAlphaOrItsEvaluation) {
    // Dark to move and nothing to capture.
    set_position("rnbqkbnr/pppppppp/8/8/8/2N5/PPPPPPPP/R1BQKBNR b KQkq - 1 1");
    const int e = eval(-10000, 10000);
    EXPECT_EQ(quiesce(e + 10, e + 20, 0, QUIESCE_PLIES), e + 10);
    EXPECT_EQ(quiesce(e - 10, e + 10, 0, QUIESCE_PLIES), e);
    EXPECT_EQ(quiesce(e - 20, e - 10, 0, QUIESCE_PLIES), e);   // at or above beta: the evaluation itself
    EXPECT_EQ(quiesce(e - 20, e, 0, QUIESCE_PLIES), e);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, InCheckEveryLegalEvasionIsSearchedQuietOnesIncluded) {
    // The rook on e8 checks the king on e1: d1, d2, f1 and f2 are the escapes.
    set_position("k3r3/8/8/8/8/8/7P/4K3 w - - 0 1");
    quiesce(-10000, 10000, 0, QUIESCE_PLIES);
    EXPECT_EQ(qnodes, 4);
    // Out of check the same king moves are not searched.
    set_position("k2r4/8/8/8/8/8/7P/4K3 w - - 0 1");
    qnodes = 0;
    quiesce(-10000, 10000, 0, QUIESCE_PLIES);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, InCheckALosingCaptureIsSearchedToo) {
    // The only way out of the rook's check is Qxe1, which loses the queen
    // to the pawn on d2; in check the capture filter does not apply.
    set_position("k7/4Q3/8/8/8/8/3p2PP/4r2K w - - 0 1");
    Move2Gen();
    const int i = position_state::find("e7", "e1");
    ASSERT_GE(i, 0);
    ASSERT_LT(gen_dat[i].score, 50000);
    std::memset(chash, 0, sizeof chash);
    quiesce(-10000, 10000, 0, QUIESCE_PLIES);
    EXPECT_GE(qnodes, 1);
}

TEST_F(Quiesce, InCheckStandPatStillApplies) {
    set_position("k3r3/8/8/8/8/8/7P/4K3 w - - 0 1");
    const int e = eval(-10000, 10000);
    EXPECT_EQ(quiesce(e - 60, e - 50, 0, QUIESCE_PLIES), e);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, CheckmateGivesAlphaNotAMateScore) {
    set_position("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3");
    const int e = eval(-10000, 10000);
    EXPECT_EQ(quiesce(e + 50, e + 100, 0, QUIESCE_PLIES), e + 50);
    EXPECT_EQ(qnodes, 0);
}

TEST_F(Quiesce, CutoffIsCountedInTheStatisticsAndHistory) {
    // Light takes the undefended queen on d5 and is far above beta.
    set_position("8/7k/8/3q4/8/8/8/K2Q4 w - - 0 1");
    clear_ordering();
    const long kept_cutoffs = cutoffs, kept_firstmove = firstmove;
    const int e = eval(-10000, 10000);
    EXPECT_GE(quiesce(e, e + 1, 0, QUIESCE_PLIES), e + 1);
    EXPECT_EQ(qnodes, 1);
    EXPECT_EQ(cutoffs, kept_cutoffs + 1);
    EXPECT_EQ(firstmove, kept_firstmove + 1);
    EXPECT_EQ(history[sq("d1") * 64 + sq("d5")], 1);
    clear_ordering();
}

// ---------------------------------------------------------------------------
// The capture filter out of check.

TEST_F(Quiesce, CaptureThatCannotRaiseAlphaByTheMarginIsSkipped) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    const gen_rec takes_queen{mv("d1", "d8", 0, MF_CAPTURE), 145900};
    std::memset(chash, 0, sizeof chash);
    EXPECT_TRUE(skip_capture(takes_queen, 0, 901));    // 0 + 900 < 901
    EXPECT_EQ(chash[11], 1);
    EXPECT_FALSE(skip_capture(takes_queen, 0, 900));   // 0 + 900 is not below 900
    EXPECT_FALSE(skip_capture(takes_queen, 100, 901));
    EXPECT_EQ(chash[11], 1);
    EXPECT_EQ(chash[10], 0);
}

TEST_F(Quiesce, CaptureScoredBelow50000IsSkipped) {
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    std::memset(chash, 0, sizeof chash);
    EXPECT_TRUE(skip_capture(gen_rec{mv("d1", "e7", 0, MF_CAPTURE), 49999}, 0, -10000));
    EXPECT_EQ(chash[10], 1);
    EXPECT_FALSE(skip_capture(gen_rec{mv("d1", "e7", 0, MF_CAPTURE), 50000}, 0, -10000));
    EXPECT_TRUE(skip_capture(gen_rec{mv("d1", "e7", 0, MF_CAPTURE), -804}, 0, -10000));
    EXPECT_EQ(chash[10], 2);
    EXPECT_EQ(chash[11], 0);
    // Both reasons: counted once, as a margin skip.
    EXPECT_TRUE(skip_capture(gen_rec{mv("d1", "e7", 0, MF_CAPTURE), 100}, 0, 5000));
    EXPECT_EQ(chash[11], 1);
    EXPECT_EQ(chash[10], 2);
}

TEST_F(Quiesce, MoveToAnEmptySquareIsNeverFiltered) {
    set_position("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3");
    std::memset(chash, 0, sizeof chash);
    // En passant: the destination f6 is empty.
    EXPECT_FALSE(skip_capture(gen_rec{mv("e5", "f6", 0, MF_PAWN | MF_EP), -5}, -10000, 10000));
    // A promotion onto an empty square, scored low.
    EXPECT_FALSE(skip_capture(gen_rec{mv("e5", "e4", QUEEN, MF_PAWN | MF_PROMOTE), 900}, -10000, 10000));
    EXPECT_EQ(chash[10], 0);
    EXPECT_EQ(chash[11], 0);
}

TEST_F(Quiesce, LosingCaptureIsNotTried) {
    // Qxd5 loses the queen to c6xd5: its ordering score is -804.
    set_position("k7/8/2p5/3p4/8/8/8/K2Q4 w - - 0 1");
    std::memset(chash, 0, sizeof chash);
    const int e = eval(-10000, 10000);
    EXPECT_EQ(quiesce(-10000, 10000, 0, QUIESCE_PLIES), e);
    EXPECT_EQ(qnodes, 0);
    EXPECT_EQ(chash[10], 1);
}

TEST_F(Quiesce, CaptureBelowTheMarginIsNotTriedButOneWithinItIs) {
    set_position(FREE_PAWN);
    // Far below alpha the evaluation answers early; that early value v is
    // the stand-pat score and v + 200 the margin.
    const int v = eval(9000, 9001);
    ASSERT_EQ(eval(v + 350, v + 351), v);
    ASSERT_EQ(eval(v + 299, v + 300), v);
    std::memset(chash, 0, sizeof chash);
    EXPECT_EQ(quiesce(v + 350, v + 351, 0, QUIESCE_PLIES), v + 350);   // v + 200 + 100 < v + 350
    EXPECT_EQ(qnodes, 0);
    EXPECT_EQ(chash[11], 1);
    std::memset(chash, 0, sizeof chash);
    quiesce(v + 299, v + 300, 0, QUIESCE_PLIES);                       // v + 200 + 100 >= v + 299
    EXPECT_EQ(qnodes, 1);
    EXPECT_EQ(chash[11], 0);
}

TEST_F(Quiesce, PromotionOntoAnAttackedSquareIsSearched) {
    // e8 is attacked by the bishop on h5, so the promotion scores low, but
    // the bishop is pinned against its king by the rook on h1.
    set_position("7k/4P3/8/7b/8/8/8/K6R w - - 0 1");
    Caps2Gen(10000, -10000);
    const int i = position_state::find("e7", "e8", QUEEN);
    ASSERT_GE(i, 0);
    ASSERT_LT(gen_dat[i].score, 50000);
    const int e = eval(-10000, 10000);
    EXPECT_GT(quiesce(-10000, 10000, 0, QUIESCE_PLIES), e + 500);
}
