// FEN reader and writers: fields, messages, rejections and the board key.
#include "board/fen.h"
#include "bitboard/pieces.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "test_util.h"

namespace {

// Sets up a FEN and returns (result, what was printed).
std::pair<int, std::string> setup(const char* fen) {
    int result = 0;
    std::string out = printed_by([&] { result = process_fen(fen); });
    return {result, out};
}

std::string fen_text() {
    char out[FEN_TEXT_SIZE];
    fen_display(out);
    return out;
}

std::string book_key() {
    char out[BOOK_KEY_SIZE];
    forsyth(out);
    return out;
}

}  // namespace

TEST(Fen, InitialPositionState) {
    init();
    for (int s = 0; s < 64; s++) {
        EXPECT_EQ(color[s], s < 16 ? DARK : s >= 48 ? LIGHT : EMPTY) << s;
        EXPECT_EQ(piece[s] == EMPTY, color[s] == EMPTY) << s;
    }
    const int back[8] = {ROOK, KNIGHT, BISHOP, QUEEN, KING, BISHOP, KNIGHT, ROOK};
    for (int f = 0; f < 8; f++) {
        EXPECT_EQ(piece[f], back[f]);
        EXPECT_EQ(piece[56 + f], back[f]);
        EXPECT_EQ(piece[8 + f], PAWN);
        EXPECT_EQ(piece[48 + f], PAWN);
    }
    EXPECT_EQ(side, LIGHT);
    EXPECT_EQ(xside, DARK);
    EXPECT_EQ(castle, 15);
    EXPECT_EQ(ep, -1);
    EXPECT_EQ(fifty, 0);
    EXPECT_EQ(light_king_sq, 60);
    EXPECT_EQ(dark_king_sq, 4);
    EXPECT_EQ(undos, 0);
    EXPECT_EQ(ply, 0);
    EXPECT_EQ(material_balance, 0);
    EXPECT_EQ(computer_side, EMPTY);
    EXPECT_EQ(dt[0][63], 7);
    EXPECT_EQ(dt[60][4], 7);
    EXPECT_EQ(dt[27][36], 1);
}

TEST(Fen, SetUpResetsGameAndKeys) {
    init();
    undos = 7;
    ply = 3;
    hash_seq = 9;
    computer_side = LIGHT;
    master_checksum = master_pawn = master_material = 123;
    write_slot(&hash_table[5], hash_entry{.checksum = 42});
    hash_table_dirty = true;
    auto [ok, out] = setup("4k3/8/8/8/8/8/3Q4/4K3 w - - 0 1");
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(out, "");
    EXPECT_EQ(undos, 0);
    EXPECT_EQ(ply, 0);
    EXPECT_EQ(hash_seq, 0);
    EXPECT_EQ(computer_side, EMPTY);
    EXPECT_EQ(master_checksum | master_pawn | master_material, 0u);
    EXPECT_EQ(read_slot(&hash_table[5]).checksum, 0u);
    EXPECT_EQ(material_balance, 900);
}

TEST(Fen, SideFieldReadsFirstCharacterOnly) {
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 white - - 0 1").first, 1);
    EXPECT_EQ(side, LIGHT);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 b - - 0 1").first, 1);
    EXPECT_EQ(side, DARK);
    EXPECT_EQ(xside, LIGHT);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 x - - 0 1"),
              std::make_pair(0, std::string("invalid FEN turn character:x\n")));
}

TEST(Fen, CastlingField) {
    EXPECT_EQ(setup("r3k2r/8/8/8/8/8/8/R3K2R w KQkqX - 0 1").first, 1);
    EXPECT_EQ(castle, 15);   // only four characters are read
    EXPECT_EQ(setup("r3k2r/8/8/8/8/8/8/R3K2R w Kq - 0 1").first, 1);
    EXPECT_EQ(castle, 2 | 4);
    EXPECT_EQ(setup("r3k2r/8/8/8/8/8/8/R3K2R w - - 0 1").first, 1);
    EXPECT_EQ(castle, 0);
    EXPECT_EQ(setup("r3k2r/8/8/8/8/8/8/R3K2R w KX - 0 1"),
              std::make_pair(0, std::string("invalid castle chain:KX\n")));
    EXPECT_EQ(setup("r3k2r/8/8/8/8/8/8/R3K2R w K- - 0 1").second, "invalid castle chain:K-\n");
}

TEST(Fen, EnPassantField) {
    EXPECT_EQ(setup("4k3/8/8/8/4P3/8/8/4K3 b - e3 0 1").first, 1);
    EXPECT_EQ(ep, 44);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - e9 0 1").second, "invalid FEN ep square:e9\n");
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - z3 0 1").second, "invalid FEN ep square:z3\n");
    // Rank 0 names no square; it would put ep off the board.
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - e0 0 1"),
              std::make_pair(0, std::string("invalid FEN ep square:e0\n")));
}

TEST(Fen, EnPassantSquareMustFollowADoubleStep) {
    // The square behind a pawn that has just moved two squares, for the side to move.
    EXPECT_EQ(setup("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1").first, 1);
    EXPECT_EQ(ep, 19);
    const char* wrong[] = {
        "4k3/8/8/3pP3/8/8/8/4K3 b - d6 0 1",   // the wrong side to move
        "4k3/8/8/4P3/8/8/8/4K3 w - d6 0 1",    // no pawn in front of the square
        "4k3/8/8/3nP3/8/8/8/4K3 w - d6 0 1",   // a knight, not a pawn
        "4k3/3p4/8/3pP3/8/8/8/4K3 w - d6 0 1", // its start square is taken
        "4k3/8/8/8/4P3/8/8/4K3 w - e3 0 1",    // light's own pawn, light to move
    };
    for (const char* fen : wrong) {
        auto [ok, out] = setup(fen);
        EXPECT_EQ(ok, 0) << fen;
        EXPECT_EQ(out.rfind("invalid FEN ep square:", 0), 0u) << fen;
    }
}

TEST(Fen, HalfMoveAndFullMoveFields) {
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 100 25").first, 1);
    EXPECT_EQ(fifty, 10);   // two characters are read
    EXPECT_EQ(ply, 0);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 7 1").first, 1);
    EXPECT_EQ(fifty, 7);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - -"), std::make_pair(0, std::string()));
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 0"),
              std::make_pair(0, std::string("invalid absolute move: \n")));
}

TEST(Fen, CountersMustBeNumbers) {
    // Words that follow a four-field FEN must not be read as counts ("d" as 52).
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - d fn"),
              std::make_pair(0, std::string("invalid FEN half-move clock:d\n")));
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 1x 1").second, "invalid FEN half-move clock:1x\n");
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 10x 1").first, 0);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - -1 1").first, 0);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 0 fn"),
              std::make_pair(0, std::string("invalid absolute move: fn\n")));
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 0 2x").second, "invalid absolute move: 2x\n");
}

TEST(Fen, BadPlacementCharacterIsReportedAfterTheOtherFields) {
    EXPECT_EQ(setup("rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1").second,
              "invalid fen character:x\n");
    // A bad side field is found first, whatever the placement holds.
    EXPECT_EQ(setup("rnbqkbnr/ppppxppp/8/8/8/8/PPPPPPPP/RNBQKBNR q KQkq - 0 1").second,
              "invalid FEN turn character:q\n");
}

TEST(Fen, PlacementPastTheLastSquareIsRejectedUnwritten) {
    init();
    auto [ok, out] = setup("4k3/8/8/8/8/8/8/4K3/8/pppp w - - 0 1");
    EXPECT_EQ(ok, 0);
    EXPECT_EQ(out, "invalid fen placement, past h1:4k3/8/8/8/8/8/8/4K3/8/pppp\n");
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3/1 w - - 0 1").first, 0);   // a run past h1
    // An exactly full board is fine.
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4K3 w - - 0 1").first, 1);
}

TEST(Fen, KingsMustBeOneOfEachColour) {
    EXPECT_EQ(setup("8/8/8/8/8/8/8/8 w - - 0 1"),
              std::make_pair(0, std::string("invalid fen king count:8/8/8/8/8/8/8/8\n")));
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/8 w - - 0 1").first, 0);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/3KK3 w - - 0 1").first, 0);
    EXPECT_EQ(setup("3kk3/8/8/8/8/8/8/4K3 w - - 0 1").first, 0);
}

TEST(Fen, PawnsOnTheBackRanksAreRejected) {
    EXPECT_EQ(setup("P3k3/8/8/8/8/8/8/4K3 w - - 0 1").second,
              "invalid fen pawn on first or last rank:P3k3/8/8/8/8/8/8/4K3\n");
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/p3K3 w - - 0 1").first, 0);
}

TEST(Fen, SideNotToMoveMayNotBeInCheck) {
    // Light to move while the dark king stands attacked by the rook.
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/R3K2R w - - 0 1").first, 1);
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4R1K1 w - - 0 1"),
              std::make_pair(0, std::string("invalid FEN position: the side not to move is in check\n")));
    // The side to move may be in check.
    EXPECT_EQ(setup("4k3/8/8/8/8/8/8/4R1K1 b - - 0 1").first, 1);
}

TEST(Fen, LongPlacementIsReadWhole) {
    // 71 characters: every rank written with eight symbols.
    const char* fen = "r1b1k1n1/1p1p1p1p/p1p1p1p1/1n1b1q1r/R1B1Q1N1/P1P1P1P1/1P1P1P1P/1N1B1K1R w - - 0 1";
    ASSERT_EQ(setup(fen).first, 1);
    EXPECT_EQ(piece[63], ROOK);
    EXPECT_EQ(color[63], LIGHT);
    EXPECT_EQ(light_king_sq, 61);
    EXPECT_EQ(fen_text(), "r1b1k1n1/1p1p1p1p/p1p1p1p1/1n1b1q1r/R1B1Q1N1/P1P1P1P1/1P1P1P1P/1N1B1K1R w - -");
}

TEST(Fen, MaterialBalanceCountsEveryMan) {
    ASSERT_EQ(setup("rn2k3/8/8/8/8/8/PP6/R2QK3 w - - 0 1").first, 1);
    EXPECT_EQ(material_balance, 100 + 100 + 500 + 900 - 500 - 305);
}

TEST(Fen, WriterGivesFourFields) {
    init();
    EXPECT_EQ(fen_text(), "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
    setup("rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1");
    EXPECT_EQ(fen_text(), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq -");
    setup("r3k2r/8/8/8/8/8/8/R3K2R b qK - 0 1");
    EXPECT_EQ(fen_text(), "r3k2r/8/8/8/8/8/8/R3K2R b Kq -");
    setup("7k/8/8/8/8/8/8/K7 w - - 0 1");
    EXPECT_EQ(fen_text(), "7k/8/8/8/8/8/8/K7 w - -");
}

TEST(Fen, BookKeyUsesSpanishLetters) {
    init();
    EXPECT_EQ(book_key(), "tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT");
    setup("4k3/8/8/8/4P3/8/8/4K3 b - - 0 1");
    EXPECT_EQ(book_key(), "4r3,8,8,8,4P3,8,8,4R3");
}
