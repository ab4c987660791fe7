// Edition 2.3's move layer: mailbox generation order and flags, castling
// tested when made, keys and the repetition stack, and the perft counts.
#include "board/fen.h"
#include "board/position.h"
#include "editions/v23/game.h"
#include "editions/v23/moves23.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "tools/perft.h"
#include <gtest/gtest.h>

namespace {

int square(const char* s) { return (s[0] - 'a') + ('8' - s[1]) * 8; }

void set_up(const char* fen) {
    testing::internal::CaptureStdout();
    const int ok = process_fen(fen);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(ok, 1) << fen;
    Move2Gen();
}

int find(const char* from, const char* to, int start = 0) {
    for (int i = gen_begin[ply] + start; i < gen_end[ply]; i++)
        if (gen_dat[i].m.from == square(from) && gen_dat[i].m.to == square(to)) return i;
    return -1;
}

uint64_t count(const char* fen, int depth) {
    process_fen(fen);
    return perft(depth);
}

}  // namespace

TEST(Perft23, PublishedCounts) {
    EXPECT_EQ(count("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4), 197281u);
    EXPECT_EQ(count("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3), 97862u);
    EXPECT_EQ(count("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4), 43238u);
    EXPECT_EQ(count("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3), 9467u);
    EXPECT_EQ(count("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3), 62379u);
    EXPECT_EQ(count("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3), 89890u);
}

TEST(Gen23, PromotionsKnightFirstAndDoubleStepFlags) {
    set_up("4k3/1P6/8/8/8/8/4P3/4K3 w - - 0 1");
    const int first = find("b7", "b8");
    ASSERT_GE(first, 0);
    for (int p = 0; p < 4; p++) {
        EXPECT_EQ(gen_dat[first + p].m.promote, KNIGHT + p);
        EXPECT_EQ(gen_dat[first + p].m.bits, MF_PAWN | MF_PROMOTE);
    }
    EXPECT_EQ(gen_dat[find("e2", "e4")].m.bits, MF_PAWN | MF_DOUBLE);   // 0x18
    EXPECT_EQ(gen_dat[find("e2", "e3")].m.bits, MF_PAWN);
}

TEST(Gen23, MenAreVisitedFromA8AndCastlingComesLast) {
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    EXPECT_EQ(gen_dat[gen_begin[0]].m.from, square("a1"));   // the first light man from a8
    const move_bytes last = gen_dat[gen_end[0] - 1].m;
    EXPECT_EQ(last.from, square("e1"));
    EXPECT_EQ(last.to, square("c1"));
    EXPECT_EQ(last.bits, MF_CASTLE);
}

TEST(Make23, CastlingIsTestedWhenMade) {
    // f1 attacked by the bishop on c4: the short castling is generated but refused.
    set_up("4k3/8/8/8/2b5/8/8/4K2R w K - 0 1");
    const int castle_short = find("e1", "g1");
    ASSERT_GE(castle_short, 0);
    EXPECT_EQ(makemove(gen_dat[castle_short].m), 0);
    EXPECT_EQ(piece[square("h1")], ROOK);
    // Out of check it is allowed, and the rook moves.
    set_up("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    ASSERT_EQ(makemove(gen_dat[find("e1", "g1")].m), 1);
    EXPECT_EQ(piece[square("f1")], ROOK);
    EXPECT_EQ(light_king_sq, square("g1"));
    takeback();
    EXPECT_EQ(piece[square("h1")], ROOK);
    EXPECT_EQ(piece[square("e1")], KING);
    // Never out of check.
    set_up("4k3/8/8/8/8/8/4r3/4K2R w K - 0 1");
    EXPECT_EQ(makemove(gen_dat[find("e1", "g1")].m), 0);
}

TEST(Make23, KeysAndTheStackFollowMakeAndTakeBack) {
    set_up("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    EXPECT_EQ(index_key | check_key, 0u);
    const int stack = rep_count;
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        if (!makemove(gen_dat[i].m)) {
            ASSERT_EQ(rep_count, stack);
            continue;
        }
        ASSERT_EQ(rep_count, stack + 1);
        ASSERT_EQ(rep_stack[stack], check_key);
        takeback();
        ASSERT_EQ(index_key | check_key, 0u) << i;
        ASSERT_EQ(rep_count, stack);
    }
}

TEST(Make23, NullMoveNeedsTwoPliesAndNoNullBefore) {
    set_up("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(makenullmove(), 0);
    ASSERT_EQ(makemove(gen_dat[find("h1", "h2")].m), 1);
    Move2Gen();
    ASSERT_EQ(makemove(gen_dat[find("e8", "d8")].m), 1);
    ASSERT_EQ(makenullmove(), 1);
    EXPECT_EQ(hist_dat[2].castle, NULL_MARK);
    EXPECT_EQ(makenullmove(), 0);   // never twice in a row
    unmakenullmove();
    EXPECT_EQ(side, LIGHT);
    takeback();
    takeback();
    EXPECT_EQ(rep_count, 0);
}

TEST(Repetition23, NeedsTwentyKeysAndLooksFourteenBack) {
    new_game();
    for (int i = 0; i < 19; i++) rep_stack[rep_count++] = 1000 + i;
    rep_stack[rep_count - 1] = rep_stack[rep_count - 3];   // a repeat, but only 19 keys
    EXPECT_EQ(repetition(), 0);
    rep_stack[rep_count++] = 1004;   // 20 keys; 1004 stands 15 back: not looked at
    EXPECT_EQ(repetition(), 0);
    rep_stack[rep_count - 1] = 1005;   // 14 back: a repetition
    EXPECT_EQ(repetition(), 1);
    new_game();
    EXPECT_EQ(rep_count, 0);
}

TEST(Attack23, PawnsKnightsAndSlidersFromTheBoardArrays) {
    set_up("4k3/8/8/3p4/8/5N2/8/R3K3 w - - 0 1");
    EXPECT_TRUE(attack(square("e4"), DARK));    // the d5 pawn
    EXPECT_FALSE(attack(square("d4"), DARK));   // not straight ahead
    EXPECT_TRUE(attack(square("d4"), LIGHT));   // knight f3
    EXPECT_TRUE(attack(square("a8"), LIGHT));   // rook a1 up the file
    EXPECT_TRUE(attack(square("d1"), LIGHT));   // rook and king
    EXPECT_FALSE(in_check(LIGHT));
}
