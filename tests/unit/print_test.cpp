// Printing moves, the board and the game record.
#include "board/print.h"
#include "board/position.h"
#include "test_util.h"

namespace {

std::string move_text(int from, int to, int promote, int bits) {
    return printed_by([&] { print_move(move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)}); });
}

void record(int i, int from, int to) {
    undo_dat[i].m = move_bytes{int8_t(from), int8_t(to), 0, 0};
}

}  // namespace

TEST(Print, MovesInCoordinates) {
    EXPECT_EQ(move_text(52, 36, 0, MF_DOUBLE), "e2e4");
    EXPECT_EQ(move_text(60, 62, 0, MF_CASTLE), "e1g1");
    EXPECT_EQ(move_text(12, 4, QUEEN, MF_PROMOTE | MF_PAWN), "e7e8q");
    EXPECT_EQ(move_text(15, 7, KNIGHT, MF_PROMOTE), "h7h8n");
    EXPECT_EQ(move_text(15, 7, BISHOP, MF_PROMOTE), "h7h8b");
    EXPECT_EQ(move_text(15, 7, ROOK, MF_PROMOTE | MF_CAPTURE), "h7h8r");
    EXPECT_EQ(move_text(15, 7, 0, MF_PROMOTE), "h7h8q");   // unexpected piece: queen
    EXPECT_EQ(move_text(15, 7, KNIGHT, 0), "h7h8");        // no promotion flag, no letter
}

TEST(Print, MoveValueRoundTrip) {
    const move_bytes castle_short{60, 62, 0, MF_CASTLE};
    EXPECT_EQ(move_value(castle_short), 0x02003E3Cu);
    EXPECT_EQ(move_value(move_bytes{4, 2, 0, MF_CASTLE}), 0x02000204u);
    EXPECT_TRUE(to_move(0x02003A3Cu) == (move_bytes{60, 58, 0, MF_CASTLE}));
    EXPECT_EQ(move_value(move_bytes{}), 0u);
}

TEST(Print, InitialBoard) {
    init();
    EXPECT_EQ(printed_by(print_board),
              "\n"
              "8  t c a d r a c t\n"
              "7  p p p p p p p p\n"
              "6  . . . . . . . .\n"
              "5  . . . . . . . .\n"
              "4  . . . . . . . .\n"
              "3  . . . . . . . .\n"
              "2  P P P P P P P P\n"
              "1  T C A D R A C T\n"
              "\n"
              "   a b c d e f g h\n"
              "\n");
}

TEST(Print, GameRecordInPairs) {
    clear_game_record();
    EXPECT_EQ(printed_by(print_game), "-Lista de jugadas---\n\n--------------------\n");
    record(0, 52, 36);
    record(1, 12, 28);
    record(2, 62, 45);
    undos = game_plies = 3;
    EXPECT_EQ(printed_by(print_game),
              "-Lista de jugadas---\n"
              "1 .e2e4 (52,36) e7e5 (12,28) \n"
              "2 .g1f3 (62,45) \n"
              "--------------------\n");
    undos = game_plies = 2;
    EXPECT_EQ(printed_by(print_game),
              "-Lista de jugadas---\n"
              "1 .e2e4 (52,36) e7e5 (12,28) \n"
              "\n"
              "--------------------\n");
    // A long game's record has dropped its first moves: the numbers go on.
    undos = 3;
    game_plies = 7;
    EXPECT_EQ(printed_by(print_game),
              "-Lista de jugadas---\n"
              "(the first 4 half-moves are no longer kept: the list starts at move 3)\n"
              "3 .e2e4 (52,36) e7e5 (12,28) \n"
              "4 .g1f3 (62,45) \n"
              "--------------------\n");
    clear_game_record();
}
