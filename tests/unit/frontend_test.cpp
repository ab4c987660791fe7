// Console move entry and take-back on the game record.
#include "board/fen.h"
#include "board/position.h"
#include "frontend/commands.h"
#include "moves/gen.h"
#include "test_util.h"

namespace {

void new_game() {
    printed_by([] { cmd_new(); });
}

}  // namespace

TEST(MoveEntry, PromotionLetterPicksAmongTheFourEntries) {
    ASSERT_EQ(process_fen("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1"), 1);
    Move2Gen();
    const int queen = find_typed_move("e7e8", CONSOLE_LETTERS);
    ASSERT_GE(queen, 0);
    EXPECT_EQ(gen_dat[queen].m.promote, QUEEN);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8q", CONSOLE_LETTERS)].m.promote, QUEEN);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8r", CONSOLE_LETTERS)].m.promote, ROOK);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8b", CONSOLE_LETTERS)].m.promote, BISHOP);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8n", CONSOLE_LETTERS)].m.promote, KNIGHT);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8x", CONSOLE_LETTERS)].m.promote, QUEEN);
    EXPECT_EQ(find_typed_move("e7e", CONSOLE_LETTERS), -1);
    EXPECT_EQ(find_typed_move("e7e7", CONSOLE_LETTERS), -1);
}

TEST(MoveEntry, GameGoesOnPastTheRecordAndUndoWalksBackThroughWhatItKept) {
    new_game();
    const char* shuffle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i <= MAX_GAME; i++) ASSERT_EQ(printed_by([&] { move_entry(shuffle[i % 4]); }), "") << i;
    EXPECT_EQ(game_plies, MAX_GAME + 1);
    EXPECT_EQ(undos, MAX_GAME / 2 + 1);   // the older half went
    EXPECT_EQ(side, DARK);
    EXPECT_EQ(piece[45], KNIGHT);
    for (int i = 0; i <= MAX_GAME / 2 + 1; i++) printed_by([] { cmd_undo(); });   // one more than kept
    EXPECT_EQ(undos, 0);
    EXPECT_EQ(game_plies, MAX_GAME / 2);
    EXPECT_EQ(side, LIGHT);
    EXPECT_EQ(piece[62], KNIGHT);
    EXPECT_EQ(piece[45], EMPTY);
    new_game();
}

TEST(MoveEntry, UndoWalksBackToTheStart) {
    new_game();
    for (const char* m : {"e2e4", "d7d5", "e4d5", "d8d5"}) printed_by([&] { move_entry(m); });
    EXPECT_EQ(undos, 4);
    for (int i = 0; i < 5; i++) printed_by([] { cmd_undo(); });   // one more than recorded
    EXPECT_EQ(undos, 0);
    EXPECT_EQ(side, LIGHT);
    EXPECT_EQ(piece[52], PAWN);
    EXPECT_EQ(piece[3], QUEEN);
    EXPECT_EQ(gen_end[0] - gen_begin[0], 20);
}
