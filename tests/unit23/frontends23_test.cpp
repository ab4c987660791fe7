// The shared front end with edition 2.3's hooks where a transcript cannot
// reach: a full game record, the promotion letters, and the statistics block
// with chosen counter values.
#include "board/fen.h"
#include "board/position.h"
#include "frontend/commands.h"
#include "frontend/edition_hooks.h"
#include "editions/v23/game.h"
#include "editions/v23/table.h"
#include "moves/gen.h"
#include "search/state.h"
#include "test_util.h"

namespace {

void fresh_game() {
    new_game();
    Move2Gen();
    computer_side = EMPTY;
}

// Knight moves out and back, legal in any order of the record.
// `first` is the place in the cycle of the first move.
void play_knights(int moves, int first = 0) {
    const char* shuffle[4] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i < moves; i++)
        ASSERT_EQ(printed_by([&] { move_entry(shuffle[(first + i) % 4]); }), "") << i;
}

}  // namespace

// The game goes on past the 300 records, and past the repetition stack when
// XBoard's "white" and "black" restart the record but not the stack: the
// stack stays within its size and still sees the knights come home again.
TEST(Frontends23, LongGamesKeepTheRecordAndTheRepetitionStackInBounds) {
    fresh_game();
    play_knights(MAX_GAME + 1);
    EXPECT_EQ(game_plies, MAX_GAME + 1);
    EXPECT_EQ(undos, MAX_GAME / 2 + 1);
    EXPECT_EQ(piece[45], KNIGHT);
    play_knights(3, 1);   // the knights home
    for (int round = 0; round < 3; round++) {
        play_knights(MAX_GAME - 4);
        clear_game_record();   // as "white" does
        EXPECT_LE(rep_count, REPETITION_STACK);
    }
    play_knights(3);   // with the knights home again, after four plies
    EXPECT_EQ(repetition(), 1);

    max_depth = 2, max_time = 10000, book_on = 0, computer_side = side;
    printed_by([] { engine_reply(); });
    EXPECT_EQ(undos, 4);
    EXPECT_LE(rep_count, REPETITION_STACK);
    fresh_game();
}

// Edition 2.3 generates the promotions knight first; the letter picks by piece.
TEST(Frontends23, PromotionLettersAreUpperCaseAtTheConsoleOnly) {
    ASSERT_EQ(process_fen("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1"), 1);
    Move2Gen();
    EXPECT_EQ(gen_dat[find_typed_move("e7e8N", CONSOLE_LETTERS)].m.promote, KNIGHT);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8n", CONSOLE_LETTERS)].m.promote, QUEEN);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8r", XBOARD_LETTERS)].m.promote, ROOK);
    EXPECT_EQ(gen_dat[find_typed_move("e7e8B", XBOARD_LETTERS)].m.promote, QUEEN);
    fresh_game();
}

TEST(Frontends23, StatisticsBlockShowsPercentAndLevelOnlyWhenThereIsSomething) {
    reset_statistics();
    EXPECT_EQ(printed_by([] { print_statistics(); }),
              "\nHash results: 0 0"
              "\nCounters: 0 0 0 0 0 0 0 0 0 0 0 0 "
              "\nBranching: 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 ");

    tt_hits = 3;
    tt_misses = 1;
    chash[0] = 7;
    chash[11] = 2;
    branch[0] = 2;    // 2 nodes weighted 3
    branch[19] = 1;   // 1 node weighted 60: (6 + 60) / 3 = 22
    EXPECT_EQ(printed_by([] { print_statistics(); }),
              "\nHash results: 3 1"
              "\nHash percent: 75%"
              "\nCounters: 7 0 0 0 0 0 0 0 0 0 0 2 "
              "\nBranching: 2 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1 "
              "\nBranching level: 22\n");

    branch[19] = 0;   // a one-digit level is right-aligned in two places
    const std::string block = printed_by([] { print_statistics(); });
    EXPECT_EQ(block.substr(block.find("\nBranching level")), "\nBranching level:  3\n");

    reset_statistics();
    EXPECT_EQ(tt_hits, 0);
    EXPECT_EQ(tt_misses, 0);
    EXPECT_EQ(chash[0] + chash[11] + branch[0], 0);
}
