// Move and capture generation: list order and flags, promotions, castling,
// check evasions, en passant, the capture value the search reads, and the
// margins of the quiescence generator.
#include "board/fen.h"
#include "board/position.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "test_util.h"
#include <gtest/gtest.h>
#include <string>

using namespace position_state;

namespace {

void set_up(const char* fen) {
    ASSERT_EQ(process_fen(fen), 1) << fen;
}

// Generates the moves of the position and returns them as text.
std::string generated(const char* fen) {
    if (process_fen(fen) != 1) return std::string("bad position: ").append(fen);
    Move2Gen();
    return listed_text();
}

int bits_of(const char* from, const char* to, int promote = -1) {
    const int i = find(from, to, promote);
    return i < 0 ? -1 : gen_dat[i].m.bits;
}

bool listed_move(const char* from, const char* to) { return find(from, to) >= 0; }

}  // namespace

TEST(MoveGen, InitialPositionKnightMovesThenSingleStepsThenDoubleSteps) {
    set_up(START_FEN);
    atfactor = 12345;
    ichk = 1;
    Move2Gen();
    EXPECT_EQ(listed_text(),
              "b1a3 b1c3 g1f3 g1h3 a2a3 b2b3 c2c3 d2d3 e2e3 f2f3 g2g3 h2h3 "
              "a2a4 b2b4 c2c4 d2d4 e2e4 f2f4 g2g4 h2h4");
    EXPECT_EQ(gen_begin[0], 0);
    EXPECT_EQ(gen_end[0], 20);
    EXPECT_EQ(gen_begin[1], gen_end[0]);
    EXPECT_EQ(ichk, 0);
    EXPECT_EQ(atfactor, 0);
    for (const gen_rec& r : listed()) {
        // Knight moves carry no flag, single steps the pawn flag, double steps 0x08 alone.
        const int expected = piece[r.m.from] == KNIGHT ? 0 : (r.m.from - r.m.to == 16 ? MF_DOUBLE : MF_PAWN);
        EXPECT_EQ(r.m.bits, expected) << text(r.m);
        EXPECT_EQ(r.m.promote, 0) << text(r.m);
    }
}

TEST(MoveGen, DarkPawnsStepTowardsTheFirstRank) {
    EXPECT_EQ(generated("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1"),
              "b8a6 b8c6 g8f6 g8h6 a7a6 b7b6 c7c6 d7d6 e7e6 f7f6 g7g6 h7h6 "
              "a7a5 b7b5 c7c5 d7d5 e7e5 f7f5 g7g5 h7h5");
    EXPECT_EQ(bits_of("e7", "e5"), MF_DOUBLE);
    EXPECT_EQ(bits_of("e7", "e6"), MF_PAWN);
}

// King quiet moves come before all captures other than the king's own, so
// after 1. e4 d5 the king step e1-e2 heads the list and e4xd5 follows it.
TEST(MoveGen, AfterE4D5TheKingStepComesFirstAndTheCaptureSecond) {
    set_up("rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 2");
    Move2Gen();
    ASSERT_GE(gen_end[0] - gen_begin[0], 2);
    const move_bytes first = gen_dat[gen_begin[0]].m, second = gen_dat[gen_begin[0] + 1].m;
    EXPECT_EQ(text(first), "e1e2");
    EXPECT_EQ(first.bits, 0);
    EXPECT_EQ(text(second), "e4d5");
    EXPECT_EQ(second.bits, MF_CAPTURE | MF_PAWN);
    EXPECT_EQ(atfactor, 100);
    EXPECT_EQ(ichk, 0);
}

TEST(MoveGen, PromotionsComeQueenRookBishopKnightCapturesBeforePushes) {
    EXPECT_EQ(generated("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1"),
              "e1d2 e1e2 e1f2 e1d1 e1f1 b7a8q b7a8r b7a8b b7a8n b7b8q b7b8r b7b8b b7b8n");
    EXPECT_EQ(bits_of("b7", "a8", KNIGHT), MF_PROMOTE | MF_PAWN | MF_CAPTURE);
    EXPECT_EQ(bits_of("b7", "b8", QUEEN), MF_PROMOTE | MF_PAWN);
    EXPECT_EQ(atfactor, 900);   // a capturing promotion counts as winning a queen

    EXPECT_EQ(generated("4k3/8/8/8/8/8/6p1/4K2R b - - 0 1"),
              "e8d8 e8f8 e8d7 e8e7 e8f7 g2h1q g2h1r g2h1b g2h1n g2g1q g2g1r g2g1b g2g1n");
    EXPECT_EQ(bits_of("g2", "h1", ROOK), MF_PROMOTE | MF_PAWN | MF_CAPTURE);
    EXPECT_EQ(bits_of("g2", "g1", BISHOP), MF_PROMOTE | MF_PAWN);
}

TEST(MoveGen, AtfactorIsTheValueOfTheBestVictim) {
    // A pawn attacking a knight and a rook.
    generated("4k3/8/8/2n1r3/3P4/8/8/7K w - - 0 1");
    EXPECT_EQ(atfactor, 500);
    // The king taking an unguarded queen that checks it.
    generated("4k3/8/8/8/8/8/4q3/4K3 w - - 0 1");
    EXPECT_EQ(bits_of("e1", "e2"), MF_CAPTURE);
    EXPECT_EQ(atfactor, 900);
    // En passant alone counts as a pawn.
    generated("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
    EXPECT_EQ(atfactor, 100);
    // No capture at all.
    generated("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    EXPECT_EQ(atfactor, 0);
}

TEST(MoveGen, CastlingMovesComeLastShortBeforeLong) {
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Move2Gen();
    ASSERT_GE(gen_end[0] - gen_begin[0], 2);
    EXPECT_EQ(move_value(gen_dat[gen_end[0] - 2].m), 0x02003E3Cu);   // e1g1
    EXPECT_EQ(move_value(gen_dat[gen_end[0] - 1].m), 0x02003A3Cu);   // e1c1

    set_up("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1");
    Move2Gen();
    ASSERT_GE(gen_end[0] - gen_begin[0], 2);
    EXPECT_EQ(move_value(gen_dat[gen_end[0] - 2].m), 0x02000604u);   // e8g8
    EXPECT_EQ(move_value(gen_dat[gen_end[0] - 1].m), 0x02000204u);   // e8c8
}

TEST(MoveGen, CastlingNeedsTheRightAndEmptySquaresUpToTheRook) {
    generated("r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    EXPECT_FALSE(listed_move("e1", "c1"));
    generated("r3k2r/8/8/8/8/8/8/R3K2R w K - 0 1");
    EXPECT_TRUE(listed_move("e1", "g1"));
    EXPECT_FALSE(listed_move("e1", "c1"));
    // A man on g1 or on b1 stands between king and rook.
    generated("4k3/8/8/8/8/8/8/RN2K1NR w KQ - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    EXPECT_FALSE(listed_move("e1", "c1"));
    generated("rn2k1nr/8/8/8/8/8/8/4K3 b kq - 0 1");
    EXPECT_FALSE(listed_move("e8", "g8"));
    EXPECT_FALSE(listed_move("e8", "c8"));
}

TEST(MoveGen, NoCastlingOutOfThroughOrIntoCheck) {
    // A bishop on g2 guards f1; one on h2 guards g1; one on b4 gives check.
    generated("4k3/8/8/8/8/8/6b1/4K2R w K - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    generated("4k3/8/8/8/8/8/7b/4K2R w K - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    generated("4k3/8/8/8/1b6/8/8/R3K2R w KQ - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    EXPECT_FALSE(listed_move("e1", "c1"));
    // Queen side: d1 and c1 must be safe.
    generated("3rk3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    EXPECT_FALSE(listed_move("e1", "c1"));
    generated("2r1k3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    EXPECT_FALSE(listed_move("e1", "c1"));
    // Dark: a light rook on f1 guards f8.
    generated("r3k2r/8/8/8/8/8/8/4KR2 b kq - 0 1");
    EXPECT_FALSE(listed_move("e8", "g8"));
    EXPECT_TRUE(listed_move("e8", "c8"));
}

TEST(MoveGen, LongCastlingMayPassAnAttackedB1) {
    generated("1r2k3/8/8/8/8/8/8/R3K3 w Q - 0 1");
    EXPECT_EQ(bits_of("e1", "c1"), MF_CASTLE);
    generated("r3k3/8/8/8/8/8/8/1R2K3 b q - 0 1");
    EXPECT_EQ(bits_of("e8", "c8"), MF_CASTLE);
}

// A set-up position may keep a castling right whose rook is gone; another
// man bearing on the king from the corner must not castle in its place.
TEST(MoveGen, CastlingNeedsOwnRookOnItsCorner) {
    generated("4k3/8/8/8/8/8/8/4K2Q w K - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    generated("4k3/8/8/8/8/8/8/Q3K3 w Q - 0 1");
    EXPECT_FALSE(listed_move("e1", "c1"));
    generated("q3k2q/8/8/8/8/8/8/4K3 b kq - 0 1");
    EXPECT_FALSE(listed_move("e8", "g8"));
    EXPECT_FALSE(listed_move("e8", "c8"));
    generated("4k3/8/8/8/8/8/8/4K3 w KQ - 0 1");
    EXPECT_FALSE(listed_move("e1", "g1"));
    EXPECT_FALSE(listed_move("e1", "c1"));
}

TEST(MoveGen, KnightCheckAllowsKingMovesCapturesOfTheKnightAndEnPassant) {
    // Knight d3 checks e1; c2, a3 and f1 can take it; no push, no quiet piece move.
    EXPECT_EQ(generated("7k/8/8/3pP3/8/R2n4/2P3P1/4KB2 w - d6 0 2"), "e1d2 e1e2 e1d1 c2d3 a3d3 f1d3 e5d6");
    EXPECT_EQ(ichk, 1);
    EXPECT_EQ(bits_of("c2", "d3"), MF_CAPTURE | MF_PAWN);
    EXPECT_EQ(bits_of("e5", "d6"), MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(atfactor, 305);
}

// With a bishop and a knight giving check together, pieces may still be
// put between the bishop and the king (they fail when made), but no pawn
// push is generated even onto that line.
TEST(MoveGen, DoubleCheckWithAKnightGeneratesNoPawnPush) {
    EXPECT_EQ(generated("7k/8/8/8/1b6/5n2/2P5/1N2K3 w - - 0 1"), "e1e2 e1f2 e1d1 e1f1 b1c3 b1d2");
    EXPECT_EQ(ichk, 1);
    const snapshot before = take();
    EXPECT_EQ(makemove(mv("b1", "c3")), 0);
    EXPECT_EQ(differences(before, take()), "");
}

TEST(MoveGen, RookCheckAllowsBlocksCapturesAndKingStepsAlongTheRay) {
    // Rook e8 checks the king on e4: a6-e6 and d3-e5 block, g6xe8 takes,
    // e5 is guarded, while e3 (behind the king on the rook's line) is listed
    // and refused when made. The pawn on b2 cannot help and does not move.
    EXPECT_EQ(generated("4r2k/8/R5B1/8/4K3/3N4/1P6/8 w - - 0 1"),
              "e4d5 e4f5 e4d4 e4f4 e4e3 e4f3 g6e8 a6e6 d3e5");
    EXPECT_EQ(ichk, 1);
    const snapshot before = take();
    EXPECT_EQ(makemove(mv("e4", "e3")), 0);
    EXPECT_EQ(differences(before, take()), "");
    ASSERT_EQ(makemove(mv("e4", "d4")), 1);
    takeback();
    EXPECT_EQ(differences(before, take()), "");
}

TEST(MoveGen, InCheckTheKingMayTakeAnyUnguardedMan) {
    // Rook e8 checks; the knight on d2 gives no check but the king may take it.
    EXPECT_EQ(generated("4r2k/8/8/8/8/8/3n4/4K3 w - - 0 1"), "e1d2 e1f2 e1d1");
    EXPECT_EQ(bits_of("e1", "d2"), MF_CAPTURE);
    EXPECT_EQ(ichk, 1);
    EXPECT_EQ(atfactor, 305);
}

TEST(MoveGen, CheckOnADiagonalIsBlockedByPawnSingleAndDoubleSteps) {
    // Bishop a5 checks e1 over b4, c3 and d2: c2-c3 and b2-b4 block; d2 is
    // reached by no pawn.
    const std::string list = generated("7k/8/8/b7/8/8/1PP5/4K3 w - - 0 1");
    EXPECT_EQ(ichk, 1);
    EXPECT_TRUE(listed_move("c2", "c3")) << list;
    EXPECT_TRUE(listed_move("b2", "b4")) << list;
    EXPECT_EQ(bits_of("b2", "b4"), MF_DOUBLE);
    EXPECT_FALSE(listed_move("b2", "b3")) << list;
    EXPECT_FALSE(listed_move("c2", "c4")) << list;
}

TEST(MoveGen, EnPassantCapturesFromBothSidesCarryTheirFlag) {
    EXPECT_EQ(generated("4k3/8/8/3PpP2/8/8/8/4K3 w - e6 0 2"),
              "e1d2 e1e2 e1f2 e1d1 e1f1 d5e6 f5e6 d5d6 f5f6");
    EXPECT_EQ(bits_of("d5", "e6"), MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(bits_of("f5", "e6"), MF_CAPTURE | MF_PAWN | MF_EP);

    generated("4k3/8/8/8/3pPp2/8/8/4K3 b - e3 0 2");
    EXPECT_EQ(bits_of("d4", "e3"), MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(bits_of("f4", "e3"), MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(atfactor, 100);
}

TEST(MoveGen, EnPassantThatUncoversTheKingIsListedAndRefused) {
    generated("8/8/8/K2pP2r/8/8/8/7k w - d6 0 2");
    EXPECT_EQ(bits_of("e5", "d6"), MF_CAPTURE | MF_PAWN | MF_EP);
    const snapshot before = take();
    EXPECT_EQ(makemove(mv("e5", "d6", 0, MF_CAPTURE | MF_PAWN | MF_EP)), 0);
    EXPECT_EQ(differences(before, take()), "");
}

TEST(MoveGen, ListOfTheNextPlyFollowsTheListOfThisOne) {
    set_up(START_FEN);
    Move2Gen();
    const std::vector<gen_rec> root = listed();
    ASSERT_EQ(makemove(mv("e2", "e4", 0, MF_DOUBLE)), 1);
    Move2Gen();
    EXPECT_EQ(gen_begin[1], gen_end[0]);
    EXPECT_EQ(gen_end[1] - gen_begin[1], 20);
    EXPECT_EQ(gen_begin[2], gen_end[1]);
    for (size_t i = 0; i < root.size(); i++)
        EXPECT_EQ(move_value(gen_dat[gen_begin[0] + i].m), move_value(root[i].m)) << i;
    takeback();
}

TEST(MoveGen, PositionWithoutMovesGivesAnEmptyList) {
    // Stalemate: the king has only guarded squares.
    generated("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(gen_end[0], gen_begin[0]);
    EXPECT_EQ(gen_begin[1], gen_begin[0]);
    EXPECT_EQ(ichk, 0);
}

// Captures and promotions for the quiescence search, narrowed by how far
// the score lies below the bound. Light can take a queen (c4xd5), a rook
// (g4xh5), a pawn (g4xf5), a bishop (a3xb4) and a knight (b2xc3), take en
// passant (e5xf6) and promote on b8.
class CaptureGen : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(process_fen("4k3/1P6/8/3qPp1r/1bP3P1/P1n5/1P6/K7 w - f6 0 2"), 1);
    }
    std::string captures(int score, int bound) {
        Caps2Gen(score, bound);
        return listed_text();
    }
};

TEST_F(CaptureGen, HopelessNodeGivesAnEmptyListWithoutLookingAtTheBoard) {
    ichk = 7;
    EXPECT_EQ(captures(-951, 0), "");
    EXPECT_EQ(gen_end[0], gen_begin[0]);
    EXPECT_EQ(gen_begin[1], gen_begin[0]);
    EXPECT_EQ(ichk, 7);
}

TEST_F(CaptureGen, MarginNarrowsTheTargetsButNeverThePromotions) {
    const std::string promotions = "b7b8q b7b8r b7b8b b7b8n";
    ichk = 7;
    EXPECT_EQ(captures(-950, 0), promotions);   // not even a queen reaches the bound
    EXPECT_EQ(ichk, 0);
    EXPECT_EQ(captures(-901, 0), promotions);
    EXPECT_EQ(captures(-900, 0), promotions + " c4d5");
    EXPECT_EQ(captures(-501, 0), promotions + " c4d5");
    EXPECT_EQ(captures(-500, 0), promotions + " c4d5 g4h5");
    EXPECT_EQ(captures(-306, 0), promotions + " c4d5 g4h5");
    // From the knight's value on, minor pieces and pawns are targets too.
    EXPECT_EQ(captures(-305, 0), promotions + " c4d5 g4f5 g4h5 a3b4 b2c3");
    EXPECT_EQ(captures(-101, 0), promotions + " c4d5 g4f5 g4h5 a3b4 b2c3");
    EXPECT_EQ(captures(-100, 0), promotions + " c4d5 g4f5 g4h5 a3b4 b2c3 e5f6");
    EXPECT_EQ(captures(3000, 0), promotions + " c4d5 g4f5 g4h5 a3b4 b2c3 e5f6");
    EXPECT_EQ(gen_begin[1], gen_end[0]);
    EXPECT_EQ(bits_of("e5", "f6"), MF_CAPTURE | MF_PAWN | MF_EP);
}

TEST_F(CaptureGen, LeavesTheCaptureValueOfTheFullGenerationAlone) {
    atfactor = 777;
    Caps2Gen(3000, 0);
    EXPECT_EQ(atfactor, 777);
}

TEST(CaptureGenKing, OpponentKingIsNeverATarget) {
    // Dark to move and in check; hand the move to light to see what it may take.
    ASSERT_EQ(process_fen("4k3/3pQ3/8/8/8/8/8/4K3 b - - 0 1"), 1);
    side = LIGHT;
    xside = DARK;
    Caps2Gen(3000, 0);
    EXPECT_EQ(listed_text(), "e7d7");
}

TEST(CaptureGenCheck, InCheckOnlyCheckersAndBlockingPromotions) {
    // Rook a8 checks the king on f8: c7-c8 promotes onto the line, g7-g8
    // does not block; b6xa8 takes the checker, b6xd5 is no answer.
    ASSERT_EQ(process_fen("r4K2/2P3P1/1N6/3b4/8/8/8/7k w - - 0 1"), 1);
    Caps2Gen(3000, 0);
    EXPECT_EQ(listed_text(), "c7c8q c7c8r c7c8b c7c8n b6a8");
    EXPECT_EQ(ichk, 1);
    // When a rook is too little to reach the bound the checker drops out too.
    Caps2Gen(0, 501);
    EXPECT_EQ(listed_text(), "c7c8q c7c8r c7c8b c7c8n");
    EXPECT_EQ(ichk, 1);
}
