// Edition 3.0's evaluation: the pawn terms and the cached scores on small
// positions worked out by hand, whole evaluations worked out by hand, the
// lazy exit at its margin, the blocked-pawn charge, and the colour mirror.
#include "bitboard/pieces.h"
#include "editions/v30/eval30.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "eval_positions.h"
#include "search/state.h"
#include <gtest/gtest.h>
#include <string>

using namespace eval_positions;

namespace {

constexpr int WIDE = 100000;   // no lazy exit inside this window

// Sets up the men listed (see fen_of) in the given phase; the engine plays
// neither side.
void setup(const std::string& men, int phase = 0, char to_move = 'w') {
    ASSERT_EQ(process_fen(fen_of(men, to_move).c_str()), 1) << men;
    is_endgame = phase;
}

BitBoard bit(const char* s) { return BitBoard{1} << sq(s); }

class Eval30 : public testing::Test {
protected:
    void TearDown() override {
        is_endgame = 0;
        computer_side = EMPTY;
    }
};

}  // namespace

// Light pawns a2 and h2 only: no dark pawns +15; material 200; control
// 2 * 2 (b3, g3); colour balance 0; two passed pawns on their second rank
// 7 + 7 + 20; both isolated -8; placement (0 - 7) * 2. Total 231. In the
// endgame the passed term doubles (+34) and, dark being down to its bare
// king, a pawn is worth 112 (+24): 289.
TEST_F(Eval30, TwoEdgePawnsScore231AndMoreInTheEndgame) {
    setup("Kd1 kd8 Pa2 Ph2");
    EXPECT_EQ(eval_pawns(), 231);
    EXPECT_EQ(light_isolated, bit("a2") | bit("h2"));
    setup("Kd1 kd8 Pa2 Ph2", 1);
    EXPECT_EQ(eval_pawns(), 289);
}

TEST_F(Eval30, PassedPawnsByRelativeRank) {
    const struct {
        const char* men;
        int middle;
    } cases[] = {
        {"Pe4", 7},  {"Pe5", 17},  {"Pe6", 37},  {"Pe7", 47},  {"Pe7 Pa3", 47 + 7 + 20},
        {"pe5", -7}, {"pe4", -17}, {"pe3", -37}, {"pe2", -47}, {"Pe4 pd5", 0},   // each stops the other
    };
    for (const auto& c : cases) {
        setup(std::string("Ka1 kh8 ") + c.men);
        EXPECT_EQ(passed_pawns(), c.middle) << c.men;
        is_endgame = 1;
        EXPECT_EQ(passed_pawns(), 2 * c.middle) << c.men;
    }
}

TEST_F(Eval30, StructureTerms) {
    setup("Ka1 kh8 Pc3 Pc4");   // doubled and isolated, both of them
    EXPECT_EQ(doubled_pawns(), -16);
    EXPECT_EQ(isolated_pawns(), -8);

    // c2 and e2 are backward (d3 is beside neither, and stands ahead of
    // them): 8 + 15 on a file without dark pawns + 6 on the second rank.
    setup("Ka1 kh8 Pc2 Pd3 Pe2");
    EXPECT_EQ(backward_pawns(), -2 * 29);
    // c3: 8 + 4 on its third rank, its file closed by c5, itself backward (8).
    setup("Ka1 kh8 Pc3 Pd4 pc5");
    EXPECT_EQ(backward_pawns(), -12 + 8);

    setup("Ka1 kh8 Pd4 Pe4 pd6");   // two on the centre, d5 and e5 attacked by light, e5 by dark
    EXPECT_EQ(central_pawns(), 3 * 2 + 2 * (2 - 1));
    EXPECT_EQ(chain_space(), 3 * (3 + 3 - 2));
}

TEST_F(Eval30, PieceScoreHoldsMaterialFarRanksAndAPairOfEight) {
    setup("Ke1 ke8 Ra1");
    EXPECT_EQ(eval_pieces(), 500);   // a side without rooks is charged elsewhere
    setup("Ke1 ke8 Bc1 Bf1 nb8");
    EXPECT_EQ(eval_pieces(), 640 + 8 - 300);
    setup("Kg1 kg8 Ra7 Rb8 ra2 bc8 bf8");
    EXPECT_EQ(eval_pieces(), 1000 + 15 + 12 - (500 + 15) - (640 + 8));
}

TEST_F(Eval30, KingShelterAndCastledShape) {
    // Kg1 with f2 g2 h2 and Nf3: area -24, shield 6 * 3, five own men 8 * 5,
    // pawns next to it 8 * 3, three second-rank pawns 8, h1 empty 15.
    setup("Kg1 Nf3 Pf2 Pg2 Ph2 kb8");
    EXPECT_EQ(eval_light_king(light_king_sq), 81);
    // A rook on h1 shuts the king in: -20 and no empty corner.
    setup("Kg1 Rh1 Pf2 Pg2 Ph2 kb8");
    EXPECT_EQ(eval_light_king(light_king_sq), 81 - 20 - 15);

    // Endgame: a central king's area, less 15 per square of the bare king's.
    setup("Ke4 ka8 Pe2", 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 2 * 25 - 15 * 9);
    EXPECT_EQ(eval_dark_king(dark_king_sq), 2 * 9);   // light still has a pawn
}

// Ra1 Ke1 against ke8: s = 500. Light: rook on an open file 20, king
// -30 + 8 - 10 (area, itself, still in the centre). Dark: no rook -7, king
// -30 + 8 - 10 and, against a rook, three open files 3 * (10 + 18).
// 500 + 20 - 32 - (-7 - 116) = 611.
TEST_F(Eval30, LazyExitFiresAt121OutsideTheWindow) {
    setup("Ke1 ke8 Ra1");
    const long evals = chash[0];
    EXPECT_EQ(eval(-WIDE, WIDE), 611);
    EXPECT_EQ(chash[0], evals + 1);
    EXPECT_EQ(eval(-WIDE, 379), 500);
    EXPECT_EQ(eval(-WIDE, 380), 611);
    EXPECT_EQ(chash[0], evals + 3);   // counted on the lazy path too

    setup("Ke1 ke8 Ra1", 0, 'b');
    EXPECT_EQ(eval(-379, WIDE), -500);
    EXPECT_EQ(eval(-380, WIDE), -611);
}

TEST_F(Eval30, HandDerivedTotals) {
    // s = 620. Light: development 4 + 3, knight in front of f2 -9, no rook
    // -7, Nf3 5, Bd3 5 + 5 (its diagonal reaches g6 and h7), king 81.
    // Dark: no rook -7, king 73 (no knight in its area).
    setup("Kg1 Nf3 Bd3 Pf2 Pg2 Ph2 kg8 pf7 pg7 ph7");
    EXPECT_EQ(eval(-WIDE, WIDE), 620 + 6 + 81 - (-7 + 73));
    // Endgame: knight -10 and bishop +10 cancel; kings 2 * 12 each.
    setup("Kg1 Nf3 Bd3 Pf2 Pg2 Ph2 kg8 pf7 pg7 ph7", 1);
    EXPECT_EQ(eval(-WIDE, WIDE), 620 + 6 + 24 - (-7 + 24));

    // The queen takes the bishop table (-8) and the rook-line terms (d2
    // beside it, -4), not the bishop's diagonal terms (c2 next to it).
    // Pawns 256, s = 1156; light -7 - 12, king -10; dark -7, king -66.
    setup("Kh1 Qd1 Pc2 Pd2 ka8");
    EXPECT_EQ(eval_pawns(), 256);
    material_balance = 12345;   // never read
    EXPECT_EQ(eval(-WIDE, WIDE), 1156 - 19 - 10 - (-7 - 66));
}

TEST_F(Eval30, BlockedPawnsChargedOnlyToTheEngineSide) {
    const std::string men = "Ke1 ke8 Pe4 pe5 Pc4 pc5 Pa2 Na3";   // Na3 is no enemy pawn
    setup(men);
    const int neither = eval(-WIDE, WIDE);
    computer_side = LIGHT;
    EXPECT_EQ(eval(-WIDE, WIDE), neither - 8);
    computer_side = DARK;
    EXPECT_EQ(eval(-WIDE, WIDE), neither + 8);
}

// The same position with colours and ranks swapped and the other side to
// move scores the same, in both phases and through the lazy exit.
TEST_F(Eval30, ColourMirrorGivesTheSameScore) {
    const char* const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r4rk1/1b2qppp/p2p1n2/1p2p3/4P3/1BN2Q2/PPP2PPP/2KR3R b - - 0 1",
        "6k1/5p2/6p1/8/3B4/8/5PPP/6K1 w - - 0 1",
    };
    for (const char* fen : fens) {
        const std::string mirrored = mirror_fen(fen);
        for (int phase = 0; phase < 2; phase++) {
            ASSERT_EQ(process_fen(fen), 1) << fen;
            is_endgame = phase;
            const int full = eval(-WIDE, WIDE), narrow = eval(-1, 1);
            ASSERT_EQ(process_fen(mirrored.c_str()), 1) << mirrored;
            is_endgame = phase;
            EXPECT_EQ(eval(-WIDE, WIDE), full) << fen << " phase " << phase;
            EXPECT_EQ(eval(-1, 1), narrow) << fen << " phase " << phase;
        }
    }
}
