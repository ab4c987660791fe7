// Static exchange and the ordering score each generated move receives:
// undefended and defended captures, x-ray recaptures, en passant, the hash
// move, killers, history, promotions and the centralisation of quiet moves.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "moves/score.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include <gtest/gtest.h>
#include <cstring>

using namespace position_state;

namespace {

// Every test starts without killers, history or hash move, in the middle game.
class MoveScore : public testing::Test {
protected:
    void SetUp() override {
        clear_ordering();
        is_endgame = 0;
    }
    void TearDown() override { clear_ordering(); }

    void set_up(const char* fen) { ASSERT_EQ(process_fen(fen), 1) << fen; }

    // Score the generator gave the listed move; fails when it is not listed.
    int listed_score(const char* from, const char* to, int promote = -1) {
        Move2Gen();
        const int i = find(from, to, promote);
        EXPECT_GE(i, 0) << from << to << " is not listed: " << listed_text();
        return i < 0 ? 0 : gen_dat[i].score;
    }

    // Exchange value of the capture from `from` to `to` by the side to move,
    // on attacker sets built the way the generator builds them.
    int exchange(const char* from, const char* to) {
        BitBoard fx[64], fs[64], all;
        std::memset(fx, 0, sizeof fx);
        std::memset(fs, 0, sizeof fs);
        saBit(xside, &all, fx);
        saBit(side, &all, fs);
        return sce2(sq(from), sq(to), &fx[sq(to)], &fs[sq(to)], xside);
    }
};

}  // namespace

TEST_F(MoveScore, UndefendedVictimScoresItsValue) {
    set_up("4k3/8/8/3n4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(listed_score("e4", "d5"), 145305);
    EXPECT_EQ(exchange("e4", "d5"), 145305);
}

TEST_F(MoveScore, PawnTakingADefendedKnightGainsTheBonusForAMoreValuableVictim) {
    // 305 + 150 for the knight, less the pawn lost to c6xd5: 355.
    set_up("4k3/8/2p5/3n4/4P3/8/8/4K3 w - - 0 1");
    EXPECT_EQ(exchange("e4", "d5"), 145355);
    EXPECT_EQ(listed_score("e4", "d5"), 145355);
}

TEST_F(MoveScore, QueenTakingADefendedPawnLosesAndSortsLast) {
    set_up("4k3/4p3/3p4/8/8/8/3Q4/4K3 w - - 0 1");
    EXPECT_EQ(exchange("d2", "d6"), -800);
    EXPECT_EQ(listed_score("d2", "d6"), -804);   // less the queen's piece code
}

TEST_F(MoveScore, SliderBehindTheFirstCapturerDoesNotJoin) {
    // Re2xe8 Ra8xe8: the rook on e1 would win it back, but it stood behind
    // the first capturer and is not followed.
    set_up("r3r3/8/8/7k/8/8/4R2K/4R3 w - - 0 1");
    EXPECT_EQ(exchange("e2", "e8"), 145000);
    EXPECT_EQ(listed_score("e2", "e8"), 144997);
}

TEST_F(MoveScore, SliderBehindARecapturerJoinsTheExchange) {
    // Re1xe5 Re7xe5 Bc3xe5 Re8xe5: the rook on e8 joins once e7 has taken.
    set_up("k3r3/4r3/8/4p3/8/2B5/8/4R2K w - - 0 1");
    EXPECT_EQ(exchange("e1", "e5"), -215);
    EXPECT_EQ(listed_score("e1", "e5"), -218);
    // Starting with the bishop loses less; the smaller man also sorts first.
    EXPECT_EQ(listed_score("c3", "e5"), -217);
}

TEST_F(MoveScore, KingRecapturingIntoASecondAttackerDoesNotCount) {
    // The king on e6 is the only defender of e5 and the bishop would take it back.
    set_up("8/8/4k3/4p3/8/2B5/8/4R2K w - - 0 1");
    EXPECT_EQ(listed_score("e1", "e5"), 145097);
    EXPECT_EQ(listed_score("c3", "e5"), 145098);
}

TEST_F(MoveScore, EnPassantCountsAsTakingAPawn) {
    set_up("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
    EXPECT_EQ(listed_score("e5", "d6"), 145100);
    // With d6 guarded by c7 it is an even exchange.
    set_up("4k3/2p5/8/3pP3/8/8/8/4K3 w - d6 0 2");
    EXPECT_EQ(listed_score("e5", "d6"), 145000);
}

TEST_F(MoveScore, HashMoveOutranksTheKillers) {
    set_up(START_FEN);
    killers[0][0].m = mv("g1", "f3");
    killers[0][1].m = mv("b1", "c3");
    hash_slot* e = hash_slot_pointer();
    write_slot(e, hash_entry{.checksum = master_checksum, .move = mv("g1", "f3")});
    hash_table_dirty = true;
    const long counted = chash[CHASH_HASH_MOVE];
    Move2Gen();
    EXPECT_EQ(gen_dat[find("g1", "f3")].score, 250000);
    EXPECT_EQ(gen_dat[find("b1", "c3")].score, 100000);
    EXPECT_EQ(gen_dat[find("b1", "a3")].score, 2);
    EXPECT_EQ(chash[CHASH_HASH_MOVE], counted + 1);
    // A stored move of another position is no hash move here.
    write_slot(e, hash_entry{.checksum = master_checksum + 1, .move = mv("g1", "f3")});
    EXPECT_EQ(listed_score("g1", "f3"), 100000);
    clear_hash();
}

TEST_F(MoveScore, KillersBelongToTheirPly) {
    set_up(START_FEN);
    killers[1][0].m = mv("g1", "f3");
    killers[1][1].m = mv("g8", "f6");
    EXPECT_EQ(listed_score("g1", "f3"), 7);   // a killer one ply down counts nothing here
    ASSERT_EQ(makemove(mv("e2", "e4", 0, MF_DOUBLE)), 1);
    EXPECT_EQ(listed_score("g8", "f6"), 100000);
    takeback();
}

TEST_F(MoveScore, QuietMovesScoreTheirCentralisation) {
    set_up(START_FEN);
    Move2Gen();
    EXPECT_EQ(gen_dat[find("b1", "c3")].score, 7);   // 9 - 2
    EXPECT_EQ(gen_dat[find("g1", "h3")].score, 2);   // 4 - 2
    EXPECT_EQ(gen_dat[find("e2", "e4")].score, 0);   // pawns get nothing
    EXPECT_EQ(gen_dat[find("a2", "a3")].score, 0);
}

TEST_F(MoveScore, KingStepsCostFiveOutsideTheEndgame) {
    set_up("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(listed_score("e1", "e2"), 7 - 4 - 5);
    EXPECT_EQ(listed_score("e1", "d1"), -5);
    is_endgame = 1;
    EXPECT_EQ(listed_score("e1", "e2"), 7 - 4);
    EXPECT_EQ(listed_score("e1", "d1"), 0);
}

TEST_F(MoveScore, HistoryReplacesCentralisationAndRootHistoryOnlyAtTheRoot) {
    set_up(START_FEN);
    history[sq("b1") * 64 + sq("c3")] = 40;
    history[sq("e2") * 64 + sq("e4")] = 3;
    ply0_history[sq("g1") * 64 + sq("f3")] = 77;
    ply0_history[sq("b1") * 64 + sq("c3")] = 99;   // history comes first
    Move2Gen();
    EXPECT_EQ(gen_dat[find("b1", "c3")].score, 40);
    EXPECT_EQ(gen_dat[find("e2", "e4")].score, 3);
    EXPECT_EQ(gen_dat[find("g1", "f3")].score, 77);
    EXPECT_EQ(gen_dat[find("g1", "h3")].score, 2);

    // One ply down the root table is not read.
    ASSERT_EQ(makemove(mv("e2", "e4", 0, MF_DOUBLE)), 1);
    ply0_history[sq("g8") * 64 + sq("f6")] = 55;
    history[sq("b8") * 64 + sq("c6")] = 11;
    Move2Gen();
    EXPECT_EQ(gen_dat[find("g8", "f6")].score, 7);
    EXPECT_EQ(gen_dat[find("b8", "c6")].score, 11);
    takeback();
}

TEST_F(MoveScore, QuietPromotionOnASafeSquareScoresHigh) {
    set_up("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    Move2Gen();
    EXPECT_EQ(gen_dat[find("a7", "a8", QUEEN)].score, 50900);
    EXPECT_EQ(gen_dat[find("a7", "a8", ROOK)].score, 50500);
    EXPECT_EQ(gen_dat[find("a7", "a8", BISHOP)].score, 50315);
    EXPECT_EQ(gen_dat[find("a7", "a8", KNIGHT)].score, 50305);
    // With a8 guarded by the rook on b8 only the new piece's value is left.
    set_up("1r2k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    Move2Gen();
    EXPECT_EQ(gen_dat[find("a7", "a8", QUEEN)].score, 900);
    EXPECT_EQ(gen_dat[find("a7", "a8", KNIGHT)].score, 305);
    // Taking the rook is scored as a capture.
    EXPECT_EQ(gen_dat[find("a7", "b8", QUEEN)].score, 145500);
}

TEST(Xray, FindsTheSliderBehindTheManThatHasJustTaken) {
    // Rooks e7 and e8 behind each other, a queen on b2 behind a bishop on c3,
    // a knight on e6 between e7 and the target e5.
    ASSERT_EQ(process_fen("k3r3/4r3/4N3/4p3/8/2B5/1Q6/4R2K w - - 0 1"), 1);
    const int e5 = sq("e5");
    EXPECT_EQ(XrayAttack(e5, squares({"e7", "e8"}), sq("e7"), DARK), squares({"e8"}));
    EXPECT_EQ(XrayAttack(e5, squares({"c3"}), sq("c3"), LIGHT), squares({"b2"}));
    // Only members of the set block: the knight on e6 is not in it.
    EXPECT_EQ(XrayAttack(e5, squares({"e7"}), sq("e7"), DARK), squares({"e8"}));
    // With a second member of the set between, nothing joins.
    EXPECT_EQ(XrayAttack(e5, squares({"e6", "e7"}), sq("e7"), DARK), 0u);
    // Only sliders of the given side join: dark has none behind c3, light none behind e7.
    EXPECT_EQ(XrayAttack(e5, squares({"c3"}), sq("c3"), DARK), 0u);
    EXPECT_EQ(XrayAttack(e5, squares({"e7"}), sq("e7"), LIGHT), 0u);
    // Off every line of the capturer there is nothing to find.
    EXPECT_EQ(XrayAttack(e5, squares({"b2"}), sq("d3"), LIGHT), 0u);
}
