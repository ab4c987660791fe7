// Endings: drawn material, the kings-and-pawns test, and the pawn-ending
// score: the promotion race, defended and blocked passed pawns, the
// opposition rule, edge pawns and the majority.
#include "eval/endings.h"
#include "eval/eval.h"
#include "eval_positions.h"
#include <gtest/gtest.h>
#include <string>

using namespace eval_positions;

namespace {

int pawn_ending_of(const char* fen) {
    EXPECT_EQ(process_fen(fen), 1) << fen;
    return eval_pawn_ending();
}

}  // namespace

TEST(Endings, DeadDrawnMaterial) {
    const struct {
        const char* fen;
        int draw;
    } cases[] = {
        {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", 1},         // bare kings
        {"4k3/8/8/8/8/8/8/2B1K3 w - - 0 1", 1},       // bishop against king
        {"2b1k3/8/8/8/8/8/8/4K3 w - - 0 1", 1},
        {"4k3/8/8/8/8/8/8/1N2K3 w - - 0 1", 1},       // knight against king
        {"1n2k3/8/8/8/8/8/8/4K3 w - - 0 1", 1},
        {"4k3/8/8/8/8/8/8/1N2KN2 w - - 0 1", 0},      // two knights
        {"2b1k3/8/8/8/8/8/8/2B1K3 w - - 0 1", 0},     // bishop against bishop
        {"1n2k3/8/8/8/8/8/8/1N2K3 w - - 0 1", 0},     // knight against knight
        {"4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 0},        // rook
        {"4k3/8/8/8/8/8/8/3QK3 w - - 0 1", 0},        // queen
        {"4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 0},       // a pawn
        {"4k3/8/8/8/8/8/P7/2B1K3 w - - 0 1", 0},      // bishop and pawn
        {"4k3/p7/8/8/8/8/8/2B1K3 w - - 0 1", 0},      // bishop against pawn
    };
    for (const auto& c : cases) {
        ASSERT_EQ(process_fen(c.fen), 1) << c.fen;
        EXPECT_EQ(draw_ending(), c.draw) << c.fen;
    }
}

// In the endgame phase the evaluation of drawn material is 0 whatever the
// window; the same material in the middle-game phase is not looked at.
TEST(Endings, EvalOfDrawnMaterialIsZeroInTheEndgame) {
    const char* const drawn[] = {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "4k3/8/8/8/8/8/8/2B1K3 b - - 0 1",
                                 "1n2k3/8/8/8/8/8/8/4K3 w - - 0 1"};
    for (const char* fen : drawn) {
        ASSERT_EQ(process_fen(fen), 1) << fen;
        // Nobody's engine: light's set decides, and it is tiny.
        is_endgame = endgame();
        ASSERT_EQ(is_endgame, 1);
        EXPECT_EQ(eval(-10000, 10000), 0) << fen;
        EXPECT_EQ(eval(5000, 5001), 0) << fen;
        EXPECT_EQ(eval(-5001, -5000), 0) << fen;
    }
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/2B1K3 w - - 0 1"), 1);
    is_endgame = 0;
    EXPECT_GT(eval(-10000, 10000), 200);   // a bishop up, whatever the details
    is_endgame = 0;
}

TEST(Endings, PawnEndingMeansKingsAndPawnsOnly) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/4K3 w - - 0 1"), 1);
    EXPECT_EQ(pawn_ending(), 1);
    ASSERT_EQ(process_fen("4k3/pp6/8/8/8/8/PPP5/4K3 w - - 0 1"), 1);
    EXPECT_EQ(pawn_ending(), 1);
    ASSERT_EQ(process_fen("4k3/pp6/8/8/8/8/PPP5/1N2K3 w - - 0 1"), 1);
    EXPECT_EQ(pawn_ending(), 0);
    // Not a pawn ending: nothing is scored, however far the pawns.
    EXPECT_EQ(eval_pawn_ending(), 0);
    ASSERT_EQ(process_fen("4k3/pp6/8/8/8/8/PPP5/4K2r w - - 0 1"), 1);
    EXPECT_EQ(pawn_ending(), 0);
    EXPECT_EQ(eval_pawn_ending(), 0);
}

// A light pawn on a2 with the dark king on h1: the pawn is 6 from a8, the
// king 7, strictly farther: 900; a light edge pawn -10. Side to move plays
// no part. With the dark king on g2 (6 from a8) the race is not won.
TEST(Endings, PromotionRaceIsABareDistanceCount) {
    EXPECT_EQ(pawn_ending_of("8/8/8/8/8/8/P7/4K2k w - - 0 1"), 890);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/8/8/P7/4K2k b - - 0 1"), 890);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/8/8/P5k1/4K3 w - - 0 1"), -10);
    // The dark twin: a7 against the light king on h8, 7 from a1 against 6:
    // -900, and a dark edge pawn counts only +1.
    EXPECT_EQ(pawn_ending_of("7K/p7/8/8/8/8/8/4k3 w - - 0 1"), -899);
}

TEST(Endings, EnemyKingInFrontOfThePassedPawn) {
    // Light e5, dark king e7 in its front span: -30 (e7 is 1 from e8, the
    // pawn 3: no race).
    EXPECT_EQ(pawn_ending_of("8/4k3/8/4P3/8/8/8/4K3 w - - 0 1"), -30);
    EXPECT_EQ(pawn_ending_of("8/4k3/8/4P3/8/8/8/4K3 b - - 0 1"), -30);
    // On e8, the promotion square, as well: -50.
    EXPECT_EQ(pawn_ending_of("4k3/8/8/4P3/8/8/8/4K3 w - - 0 1"), -50);
    // On d7, beside the file but still in the span: -30.
    EXPECT_EQ(pawn_ending_of("8/3k4/8/4P3/8/8/8/4K3 w - - 0 1"), -30);
    // The dark pawn e4 with the light king on e2 and on e1.
    EXPECT_EQ(pawn_ending_of("4k3/8/8/8/4p3/8/4K3/8 w - - 0 1"), 30);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4p3/8/8/4K1k1 w - - 0 1"), 50);
}

// Light pawn e5, dark king e3 two ranks behind it, light king a1: the king
// is 5 from e8, the pawn 3: 900; with light to move a further -20.
TEST(Endings, EnemyKingTwoRanksBehindCountsOnlyForTheSideToMove) {
    EXPECT_EQ(pawn_ending_of("8/8/8/4P3/8/4k3/8/K7 w - - 0 1"), 880);
    EXPECT_EQ(pawn_ending_of("8/8/8/4P3/8/4k3/8/K7 b - - 0 1"), 900);
    // The dark twin: dark pawn e4, light king e6, dark to move: -900 + 20.
    EXPECT_EQ(pawn_ending_of("k7/8/4K3/8/4p3/8/8/8 b - - 0 1"), -880);
    EXPECT_EQ(pawn_ending_of("k7/8/4K3/8/4p3/8/8/8 w - - 0 1"), -900);
}

// Light d4 and e5, dark king a8, light king e1:
//   e5 is 3 from e8, the king 4: 900; d4 defends it: 50; d4 is 4 from d8,
//   the king 3: nothing; two pawns to none: majority 200. Total 1150.
TEST(Endings, DefendedPassedPawnAndMajority) {
    EXPECT_EQ(pawn_ending_of("k7/8/8/4P3/3P4/8/8/4K3 w - - 0 1"), 1150);
    // Three light pawns c2 d2 e2 against dark d7: none is passed, no edge
    // pawns: only the majority, +200.
    EXPECT_EQ(pawn_ending_of("4k3/3p4/8/8/8/8/2PPP3/4K3 w - - 0 1"), 200);
    // Two against one is no majority.
    EXPECT_EQ(pawn_ending_of("4k3/3p4/8/8/8/8/2PP4/4K3 w - - 0 1"), 0);
    EXPECT_EQ(pawn_ending_of("4k3/2ppp3/8/8/8/8/3P4/4K3 w - - 0 1"), -200);
}

// Only the dark king two ranks below the light king on one file counts:
// -15 with light to move, +15 with dark to move; the mirrored placement
// scores nothing.
TEST(Endings, OppositionRuleLooksOneWayOnly) {
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4K3/8/4k3/8 w - - 0 1"), -15);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4K3/8/4k3/8 b - - 0 1"), 15);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4k3/8/4K3/8 w - - 0 1"), 0);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4k3/8/4K3/8 b - - 0 1"), 0);
    // Three ranks apart, or on neighbouring files: nothing.
    EXPECT_EQ(pawn_ending_of("8/8/8/4K3/8/8/4k3/8 w - - 0 1"), 0);
    EXPECT_EQ(pawn_ending_of("8/8/8/8/4K3/8/3k4/8 w - - 0 1"), 0);
}

TEST(Endings, EdgePawnsCountUnevenly) {
    // Blocked edge pawns, nothing passed: light a4 and h4 -20, dark a5 and h5 +2.
    EXPECT_EQ(pawn_ending_of("4k3/8/8/p6p/P6P/8/8/4K3 w - - 0 1"), -18);
}

// Colour for colour the pawn-ending score turns its sign; positions with
// edge pawns or kings on one file two ranks apart are left out.
TEST(Endings, MirroredPawnEndingTurnsRound) {
    const char* const fens[] = {
        "8/5k2/8/1p1p4/1P6/4K3/5P2/8 w - - 0 1",
        "8/8/8/4P3/8/4k3/8/K7 w - - 0 1",
        "k7/8/8/4P3/3P4/8/8/4K3 w - - 0 1",
        "8/2k5/3p4/8/2P1P3/8/5K2/8 b - - 0 1",
        "8/4k3/8/4P3/8/8/8/4K3 w - - 0 1",
        "8/8/1k6/8/3pP3/8/6K1/8 w - - 0 1",
    };
    for (const char* fen : fens) {
        ASSERT_EQ(process_fen(fen), 1) << fen;
        const int score = eval_pawn_ending(), draw = draw_ending();
        const std::string mirrored = mirror_fen(fen);
        ASSERT_EQ(process_fen(mirrored.c_str()), 1) << mirrored;
        EXPECT_EQ(eval_pawn_ending(), -score) << fen;
        EXPECT_EQ(draw_ending(), draw) << fen;
    }
}
