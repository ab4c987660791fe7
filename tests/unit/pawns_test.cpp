// Pawn structure: each term on small pawn skeletons worked out by hand, the
// whole cached score, and the colour mirror that turns every term round
// (except the centre term, whose advanced ranks differ by side on purpose).
#include "bitboard/pieces.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval_positions.h"
#include "hash/evalcache.h"
#include <gtest/gtest.h>
#include <string>

using namespace eval_positions;

namespace {

// Kings out of the way of every pawn used below.
void set_pawns(const std::string& pawns, int endgame = 0) {
    ASSERT_EQ(process_fen(fen_of("Ka1 kh8 " + pawns).c_str()), 1) << pawns;
    is_endgame = endgame;
}

BitBoard bit(const char* s) { return BitBoard{1} << sq(s); }

}  // namespace

TEST(PawnStructure, InitialPositionBalancesEveryTerm) {
    ASSERT_EQ(process_fen(START_FEN), 1);
    is_endgame = 0;
    // Chain space 6 * 4 a side, six unsupported pawns a side, both unmoved
    // centre pair, four pawns a side on each square colour.
    EXPECT_EQ(chain_space(), 0);
    EXPECT_EQ(passed_pawns(), 0);
    EXPECT_EQ(isolated_pawns(), 0);
    EXPECT_EQ(islands_pawns(), 0);
    EXPECT_EQ(doubled_pawns(), 0);
    EXPECT_EQ(backward_pawns(), 0);
    EXPECT_EQ(central_pawns(), 0);
    EXPECT_EQ(delta_pawns(light_pawns), 0);
    EXPECT_EQ(eval_pawns(), 0);
}

TEST(PawnStructure, NoPawnsScoresZeroWithoutTouchingTheTable) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), 1);
    is_endgame = 0;
    const long hits = hp_impacts, misses = hp_nofound;
    EXPECT_EQ(eval_pawns(), 0);
    EXPECT_EQ(hp_impacts, hits);
    EXPECT_EQ(hp_nofound, misses);
    int v;
    EXPECT_EQ(hp_search(&v), 0);   // nothing stored under the (zero) pawn key
}

// Light pawns a2 and h2 only:
//   no dark pawns +15; pawn control 3 * 2 (b3, g3) = 6; colour balance 0
//   (a2 light square, h2 dark square); islands 3 * (0 - (1 + 6)) = -21;
//   isolated -6 * 2 = -12; passed 15 + 15 on the edge files and 30 for two
//   passed pawns = 60; doubled, backward, chain space, central 0.
//   Total 48. In the endgame the passed term doubles: 48 + 60 = 108.
TEST(PawnStructure, TwoEdgePawnsScore48AndMoreInTheEndgame) {
    set_pawns("Pa2 Ph2");
    EXPECT_EQ(passed_pawns(), 60);
    EXPECT_EQ(islands_pawns(), -21);
    EXPECT_EQ(isolated_pawns(), -12);
    EXPECT_EQ(chain_space(), 0);
    EXPECT_EQ(backward_pawns(), 0);
    EXPECT_EQ(central_pawns(), 0);
    EXPECT_EQ(delta_pawns(light_pawns), 0);
    EXPECT_EQ(eval_pawns(), 48);

    set_pawns("Pa2 Ph2", 1);
    EXPECT_EQ(passed_pawns(), 120);
    EXPECT_EQ(eval_pawns(), 108);
    is_endgame = 0;
}

// A passed pawn by its own relative rank: 0 up to the 4th, 10 on the 5th,
// 20 + 40 = 60 on the 6th, 40 + 40 = 80 on the 7th; 15 more on an edge
// file; 30 more for a side with two or more.
TEST(PawnStructure, PassedPawnWorthGrowsWithItsRankAndDoublesInEndgame) {
    const struct {
        const char* pawns;
        int middle;
    } cases[] = {
        {"Pe2", 0},    {"Pe3", 0},    {"Pe4", 0},    {"Pe5", 10},   {"Pe6", 60},  {"Pe7", 80},
        {"pe7", 0},    {"pe6", 0},    {"pe5", 0},    {"pe4", -10},  {"pe3", -60}, {"pe2", -80},
        {"Pa2", 15},   {"Pa5", 25},   {"ph4", -25},  {"ph2", -95},
        {"Pb5 Pg6", 100},             // 10 + 60 + 30
        {"pb4 pg3 pd6", -100},        // -10 - 60 + 0 - 30
        {"Pe5 pd6", 0},               // each stands in the other's front span
        {"Pe5 pf4", 0},               // both passed: 10 - 10
        {"Pe7 pd7", 80},              // nothing can stand in front of e7: passed
    };
    for (const auto& c : cases) {
        set_pawns(c.pawns);
        EXPECT_EQ(passed_pawns(), c.middle) << c.pawns;
        set_pawns(c.pawns, 1);
        EXPECT_EQ(passed_pawns(), 2 * c.middle) << c.pawns;
    }
    is_endgame = 0;
}

TEST(PawnStructure, PassedPawnSetsFollowTheLastCall) {
    set_pawns("Pe5 pf4");
    passed_pawns();
    EXPECT_EQ(light_passed, bit("e5"));
    EXPECT_EQ(dark_passed, bit("f4"));
    set_pawns("Pe5 pd6 pa7");
    passed_pawns();
    EXPECT_EQ(light_passed, 0u);
    EXPECT_EQ(dark_passed, bit("a7"));
}

TEST(PawnStructure, DoubledAndIsolatedCountEveryPawn) {
    // c3 and c4 alone: both doubled (-7 each) and both isolated (-6 each).
    set_pawns("Pc3 Pc4");
    EXPECT_EQ(doubled_pawns(), -14);
    EXPECT_EQ(isolated_pawns(), -12);
    // A b-pawn beside them ends the isolation of all three, not the doubling.
    set_pawns("Pc3 Pc4 Pb2");
    EXPECT_EQ(doubled_pawns(), -14);
    EXPECT_EQ(isolated_pawns(), 0);
    // A dark tripled file: 3 doubled, 3 isolated, in light's favour.
    set_pawns("pc7 pc6 pc5");
    EXPECT_EQ(doubled_pawns(), 21);
    EXPECT_EQ(isolated_pawns(), 18);
    // Edge pawns need only the one neighbouring file.
    set_pawns("Pa2 Pb3 ph7");
    EXPECT_EQ(isolated_pawns(), 6);
}

TEST(PawnStructure, BackwardAndUnsupportedPawns) {
    // c2, d3, e2: d3 has c2 and e2 in its rear span, so it is neither.
    // c2 and e2 have nothing beside or behind: backward and unsupported, on
    // rank 2, on files without dark pawns: 12 + 5 + 10 + 12 = 39 each.
    set_pawns("Pc2 Pd3 Pe2");
    EXPECT_EQ(backward_pawns(), -78);
    // A dark pawn on c7 closes the c-file (c2 loses its 12) and is itself
    // backward and unsupported on rank 7 with a light pawn on its file:
    // light 39 + 27 = 66, dark 12 + 5 + 10 = 27: -39.
    set_pawns("Pc2 Pd3 Pe2 pc7");
    EXPECT_EQ(backward_pawns(), -39);
    // A lone c3: backward, unsupported, open for dark, on rank 3:
    // 12 + 5 + 12 + 7.
    set_pawns("Pc3");
    EXPECT_EQ(backward_pawns(), -36);
    // The dark twin on c6 scores the same for dark.
    set_pawns("pc6");
    EXPECT_EQ(backward_pawns(), 36);
    // c3 and d3 side by side: each unsupported (nothing behind), neither
    // backward: -5 * 2.
    set_pawns("Pc3 Pd3");
    EXPECT_EQ(backward_pawns(), -10);
    // Edge files are not looked at.
    set_pawns("Pa2 Ph3 pa7");
    EXPECT_EQ(backward_pawns(), 0);
}

TEST(PawnStructure, ChainSpaceCountsRanksOnInnerFiles) {
    set_pawns("Pe4");
    EXPECT_EQ(chain_space(), 12);
    set_pawns("pd5");
    EXPECT_EQ(chain_space(), -12);
    set_pawns("Pe4 pd5");
    EXPECT_EQ(chain_space(), 0);
    set_pawns("Pb2");
    EXPECT_EQ(chain_space(), 4);
    set_pawns("pg7");
    EXPECT_EQ(chain_space(), -4);
    set_pawns("Pa6 ph3");
    EXPECT_EQ(chain_space(), 0);
    set_pawns("Pf7 pc2");   // 4 * (6 - 6)
    EXPECT_EQ(chain_space(), 0);
    set_pawns("Pf7 Pc3");   // 4 * (6 + 2)
    EXPECT_EQ(chain_space(), 32);
}

// Light is rewarded for pawns on d5, e5, d6, e6, dark for pawns on d3, e3,
// d2, e2: the dark squares are not the mirror of the light ones.
TEST(PawnStructure, CentralPawnsRewardDifferentRanksForEachSide) {
    set_pawns("Pd5");   // d-file 2 + advanced 3; attacks c6, e6
    EXPECT_EQ(central_pawns(), 5);
    set_pawns("pd4");   // d-file 2 only; attacks c3, e3
    EXPECT_EQ(central_pawns(), -2);
    set_pawns("pd6");   // d-file 2; attacks c5, e5, and e5 is central: 2
    EXPECT_EQ(central_pawns(), -4);
    set_pawns("Pd6");   // d-file 2 + advanced 3; attacks c7, e7
    EXPECT_EQ(central_pawns(), 5);
    set_pawns("pd3");   // d-file 2 + advanced 3; attacks c2, e2
    EXPECT_EQ(central_pawns(), -5);
    set_pawns("pe2");   // e-file 2 + advanced 3; attacks d1, f1
    EXPECT_EQ(central_pawns(), -5);
    set_pawns("Pe7");   // e-file 2 only: rank 7 is not advanced for light
    EXPECT_EQ(central_pawns(), 2);
    set_pawns("Pe4");   // e-file 2; attacks d5 (central) 2, f5
    EXPECT_EQ(central_pawns(), 4);
    set_pawns("pe5");   // e-file 2; attacks d4 (central) 2, f4
    EXPECT_EQ(central_pawns(), -4);
    set_pawns("Pc3");   // attacks b4 and d4 (central)
    EXPECT_EQ(central_pawns(), 2);
    set_pawns("pc6");   // attacks b5 and d5 (central)
    EXPECT_EQ(central_pawns(), -2);
    set_pawns("Pc3 Pe3");   // d4 attacked twice counts once; e-file 2; f4 not central
    EXPECT_EQ(central_pawns(), 4);
}

TEST(PawnStructure, IslandsCountFilesWithoutPawns) {
    set_pawns("Pa2 Pb2 Pc2 Pd3 Pe3 Pf2 Pg2 Ph2");   // 1 + 0 empty files
    EXPECT_EQ(islands_pawns(), -3);
    // Light a, c, e, g: 1 + 4 (four groups, but it is files that count);
    // dark b, d: 1 + 6. 3 * (7 - 5).
    set_pawns("Pa2 Pc2 Pe3 Pg2 pb7 pd7");
    EXPECT_EQ(islands_pawns(), 6);
    set_pawns("pb7");
    EXPECT_EQ(islands_pawns(), 24);   // 3 * ((1 + 7) - 0)
}

TEST(PawnStructure, ColourBalanceIsTheImbalanceOfOneSet) {
    set_pawns("");   // builds the square-colour sets
    // a2, c2, e2 stand on light squares, b2 on a dark one.
    EXPECT_EQ(delta_pawns(bit("a2") | bit("c2") | bit("e2")), 6);
    EXPECT_EQ(delta_pawns(bit("a2") | bit("c2") | bit("b2")), 2);
    EXPECT_EQ(delta_pawns(bit("a2") | bit("b2")), 0);
    EXPECT_EQ(delta_pawns(bit("b2") | bit("d2")), 4);
    EXPECT_EQ(delta_pawns(0), 0);
}

// Light d2, e4 against a dark d6:
//   both sides have pawns 0; unmoved d2 -8; pawn control 3 * (4 - 2) = 6
//   (c3 e3 d5 f5 against c5 e5); colour balance 0 - 2 (d2 dark square, e4
//   light, d6 dark); chain space 4 * ((1 + 3) - 2) = 8; passed 0 (every
//   pawn has an enemy pawn ahead); isolated: d6 alone +6; doubled 0;
//   backward: d2 and d6 are both backward and unsupported, d2 on rank 2
//   -10, d6 on rank 6 +7: -3; central: light 4 + 2 (d5), dark 2 + 2 (e5):
//   +2; islands 3 * (8 - 7) = 3. Total 12, in both phases.
TEST(PawnStructure, WholeScoreAddsEveryTerm) {
    set_pawns("Pd2 Pe4 pd6");
    EXPECT_EQ(eval_pawns(), 12);
    set_pawns("Pd2 Pe4 pd6", 1);
    EXPECT_EQ(eval_pawns(), 12);
    // Dark d7 and e7 alone: no light pawns -15; unmoved d7, e7 +16;
    // control -3 * 4 (c6 e6 d6 f6); colour balance 0 (d7 light, e7 dark);
    // chain space -4 * 2; both passed on their own 2nd rank, 0, but two of
    // them -30; islands 3 * (1 + 6) = 21; side by side, so unsupported but
    // not backward +5 * 2; central -2 * 2. Total -22.
    set_pawns("pd7 pe7");
    EXPECT_EQ(eval_pawns(), -22);
    set_pawns("Pd2 Pe2");
    EXPECT_EQ(eval_pawns(), 22);
    is_endgame = 0;
}

// Every pawn term turns its sign when ranks are flipped and colours
// swapped; placements with a light pawn on d5, e5, d7, e7 or a dark pawn on
// d4, e4, d2, e2 are left out (the centre term treats those unevenly).
TEST(PawnStructure, MirroredSkeletonTurnsEveryTermRound) {
    const char* const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "4k3/8/3p4/8/4P3/8/3P4/4K3 w - - 0 1",
        "4k3/p1p2pp1/1p5p/2P5/1P3P2/6P1/P6P/4K3 w - - 0 1",
        "4k3/1p4p1/p1p2p2/7p/P1P5/1P3PP1/7P/4K3 w - - 0 1",
        "4k3/8/3P4/1P4p1/8/2p5/1P3P2/4K3 w - - 0 1",
        "4k3/2p3p1/2p5/6P1/1P6/1P2p3/6P1/4K3 w - - 0 1",
        "4k3/P7/8/8/8/8/7p/4K3 w - - 0 1",
    };
    int (*const terms[])() = {chain_space,  passed_pawns,  isolated_pawns, islands_pawns,
                              doubled_pawns, backward_pawns, central_pawns};
    for (const char* fen : fens) {
        for (int phase = 0; phase < 2; phase++) {
            ASSERT_EQ(process_fen(fen), 1) << fen;
            is_endgame = phase;
            int values[7];
            for (int i = 0; i < 7; i++) values[i] = terms[i]();
            const int whole = eval_pawns();
            const int light_delta = delta_pawns(light_pawns), dark_delta = delta_pawns(dark_pawns);
            const std::string mirrored = mirror_fen(fen);
            ASSERT_EQ(process_fen(mirrored.c_str()), 1) << mirrored;
            for (int i = 0; i < 7; i++) EXPECT_EQ(terms[i](), -values[i]) << fen << " term " << i;
            EXPECT_EQ(eval_pawns(), -whole) << fen << " phase " << phase;
            EXPECT_EQ(delta_pawns(dark_pawns), light_delta) << fen;
            EXPECT_EQ(delta_pawns(light_pawns), dark_delta) << fen;
        }
    }
    is_endgame = 0;
}
