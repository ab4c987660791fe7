// The opening book: reading a line's entries, the flags of a book move, the
// lookup and its printout, growing the book through open.tmp, and the cases
// a hand-edited or long-grown book brings. Every test runs in a fresh
// temporary directory, since the book files live in the working directory.
#include "board/fen.h"
#include "board/position.h"
#include "book/book.h"
#include "frontend/commands.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search_test_util.h"
#include "test_util.h"
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <climits>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace search_test;
using position_state::mv;
using position_state::sq;

namespace {

const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
const std::string START_KEY = "tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT";

void write_file(const char* name, const std::string& text) {
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << text;
}

bool exists(const char* name) { return std::filesystem::exists(name); }

std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string key_of_position() {
    char key[BOOK_KEY_SIZE];
    forsyth(key);
    return key;
}

class OpeningBook : public testing::Test {
protected:
    void SetUp() override {
        char here[PATH_MAX];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        home = here;
        char pattern[] = "/tmp/zorvu_book_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        ASSERT_EQ(chdir(dir.c_str()), 0);
        set_position(START);
    }
    void TearDown() override {
        ASSERT_EQ(chdir(home.c_str()), 0);
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
        ply = 0;
    }
    // Looks the current position up for `side`; returns what it printed.
    static std::string look_up(int side, int* found) {
        return printed_by([&] { *found = book_move(side); });
    }
    static std::string add(const std::string& key, int from, int to, int side) {
        return printed_by([&] { addbook(key.c_str(), from, to, side); });
    }
    saved_settings saved;
    std::string home, dir;
};

std::vector<book_entry> entries_of(const char* list) {
    book_entry out[BOOK_MAX_ENTRIES];
    const int n = book_entries(list, out);
    return std::vector<book_entry>(out, out + n);
}

std::string entries_text(const char* list) {
    std::string s;
    for (const book_entry& e : entries_of(list)) s += std::to_string(e.from) + "," + std::to_string(e.to) + " ";
    return s;
}

}  // namespace

// ---------------------------------------------------------------------------
// The entries a line offers.

TEST(BookEntries, EntriesAreReadWhileTheirSlashStandsAtPosition26OrBefore) {
    EXPECT_EQ(entries_text("/0/52,36/51,35/"), "52,36 51,35 ");
    // Two-digit squares: five entries, the sixth's slash is at 32.
    EXPECT_EQ(entries_text("/0/52,36/51,35/50,34/53,37/54,38/49,33/48,32/"), "52,36 51,35 50,34 53,37 54,38 ");
    // One-digit squares: the slashes are closer, so more entries fit.
    EXPECT_EQ(entries_text("/1/1,2/3,4/5,6/7,8/9,0/1,2/3,4/5,6/7,8/"), "1,2 3,4 5,6 7,8 9,0 1,2 3,4 ");
    EXPECT_EQ(entries_text("/1/12,28/0,8/"), "12,28 0,8 ");
    // Mixed widths: the slashes stand at 2, 6, 10, 14, 18, 23, 27 and 31;
    // the entry after the slash at 27 is not read.
    EXPECT_EQ(entries_text("/0/1,2/3,4/5,6/7,8/9,10/1,2/3,4/"), "1,2 3,4 5,6 7,8 9,10 1,2 ");
}

TEST(BookEntries, ListWithoutACompleteEntryOffersNothing) {
    EXPECT_EQ(entries_of("/0/").size(), 0u);
    EXPECT_EQ(entries_of("/0").size(), 0u);
    EXPECT_EQ(entries_of("").size(), 0u);
    EXPECT_EQ(entries_of("/0/52,36").size(), 0u);   // no closing slash
    EXPECT_EQ(entries_text("/0/52,36/51,"), "52,36 ");
}

// ---------------------------------------------------------------------------
// Flags of a book move, from the board.

TEST(BookMoveBits, FlagsComeFromTheBoard) {
    set_position("r3k2r/pppp1ppp/8/4pP2/8/2n5/PPPPP1PP/R3K2R w KQkq e6 0 1");
    EXPECT_EQ(book_move_bits(sq("e1"), sq("g1")), 0x02);   // the king moves two squares
    EXPECT_EQ(book_move_bits(sq("e1"), sq("c1")), 0x02);
    EXPECT_EQ(book_move_bits(sq("e1"), sq("f1")), 0x00);
    EXPECT_EQ(book_move_bits(sq("e1"), sq("f2")), 0x00);   // a step to the next rank is no castling
    EXPECT_EQ(book_move_bits(sq("e2"), sq("e4")), 0x18);   // pawn and double step
    EXPECT_EQ(book_move_bits(sq("e2"), sq("e3")), 0x10);
    EXPECT_EQ(book_move_bits(sq("d2"), sq("c3")), 0x11);   // a pawn takes
    EXPECT_EQ(book_move_bits(sq("b2"), sq("c3")), 0x11);
    EXPECT_EQ(book_move_bits(sq("f5"), sq("e6")), 0x14);   // en passant onto the empty e6
    EXPECT_EQ(book_move_bits(sq("a1"), sq("a7")), 0x01);   // a rook takes
    EXPECT_EQ(book_move_bits(sq("a1"), sq("d1")), 0x00);
}

// ---------------------------------------------------------------------------
// Lookup.

TEST_F(OpeningBook, MissingBookGivesNoMoveSilently) {
    var_princ.moves[0] = mv("a2", "a3");
    int found = -1;
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
    EXPECT_EQ(var_princ.moves[0], mv("a2", "a3"));
    EXPECT_FALSE(exists(BOOK_FILE));
}

TEST_F(OpeningBook, EmptyBookGivesNoMoveSilently) {
    write_file(BOOK_FILE, "");
    int found = -1;
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
}

TEST_F(OpeningBook, FoundLineIsPrintedAndOneOfItsMovesChosen) {
    write_file(BOOK_FILE, "8/8/8/8/8/8/8/8 /0/1,2/\n" + START_KEY + " /0/52,36/51,35/\n");
    const position_state::snapshot before = position_state::take();
    var_princ.count = 7;
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 52,36 51,35  \n");
    EXPECT_EQ(found, 1);
    const move_bytes m = var_princ.moves[0];
    EXPECT_TRUE(m == mv("e2", "e4", 0, 0x18) || m == mv("d2", "d4", 0, 0x18)) << coordinates(m);
    EXPECT_EQ(var_princ.count, 7);
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
}

TEST_F(OpeningBook, LineOfTheOtherColourIsIgnored) {
    write_file(BOOK_FILE, START_KEY + " /1/12,28/\n");
    int found = -1;
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
    set_position("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(look_up(DARK, &found), "In Book: 12,28  \n");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(var_princ.moves[0], mv("e7", "e5", 0, 0x18));
}

TEST_F(OpeningBook, KeyMustMatchTheWholeFirstWord) {
    write_file(BOOK_FILE, START_KEY + "X /0/52,36/\n" + START_KEY.substr(0, 40) + " /0/52,36/\n");
    int found = -1;
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
}

TEST_F(OpeningBook, FirstMatchingLineIsTheOneUsed) {
    write_file(BOOK_FILE, START_KEY + " /0/51,35/\n" + START_KEY + " /0/52,36/\n");
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 51,35  \n");
    EXPECT_EQ(var_princ.moves[0], mv("d2", "d4", 0, 0x18));
}

TEST_F(OpeningBook, LookupOffersOnlyTheFirstFiveTwoDigitEntries) {
    write_file(BOOK_FILE, START_KEY + " /0/52,36/51,35/50,34/53,37/54,38/49,33/48,32/\n");
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 52,36 51,35 50,34 53,37 54,38  \n");
    EXPECT_EQ(found, 1);
    const std::string chosen = coordinates(var_princ.moves[0]);
    EXPECT_TRUE(chosen == "e2e4" || chosen == "d2d4" || chosen == "c2c4" || chosen == "f2f4" || chosen == "g2g4")
        << chosen;
}

TEST_F(OpeningBook, MatchingLineWithoutEntriesOffersNoMove) {
    write_file(BOOK_FILE, START_KEY + " /0/\n");
    int found = -1;
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
    write_file(BOOK_FILE, START_KEY + " /0/52,36\n");   // an entry left unfinished
    EXPECT_EQ(look_up(LIGHT, &found), "");
    EXPECT_EQ(found, 0);
}

TEST_F(OpeningBook, LastLineWithoutNewlineIsFound) {
    write_file(BOOK_FILE, "8/8/8/8/8/8/8/8 /0/1,2/\n" + START_KEY + " /0/52,36/");
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 52,36  \n");
    EXPECT_EQ(found, 1);
    EXPECT_EQ(var_princ.moves[0], mv("e2", "e4", 0, 0x18));
}

TEST_F(OpeningBook, LongLineIsReadWholeAndOffersItsFirstFiveEntries) {
    std::string list = "/0/";
    while (list.size() < 1000) list += "52,36/";
    write_file(BOOK_FILE, std::string(300, 'x') + " /0/1,2/\n" + START_KEY + " " + list + "\n");
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 52,36 52,36 52,36 52,36 52,36  \n");
    EXPECT_EQ(found, 1);
}

// A book entry can be stale: the key holds no castling rights, and a
// hand-edited book can hold anything. Only a move the position allows is
// played.
TEST_F(OpeningBook, StaleEntryIsNotPlayed) {
    set_position("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w - - 0 1");
    write_file(BOOK_FILE, key_of_position() + " /0/60,62/\n");
    int found = -1;
    look_up(LIGHT, &found);
    EXPECT_EQ(found, 0);   // no castling right
    set_position("r3k2r/pppppppp/8/8/8/8/PPPPPPPP/R3K2R w KQkq - 0 1");
    look_up(LIGHT, &found);
    EXPECT_EQ(found, 1);
    EXPECT_EQ(var_princ.moves[0], mv("e1", "g1", 0, 0x02));

    set_position(START);
    for (const char* list : {"/0/40,32/", "/0/12,28/", "/0/52,28/", "/0/60,52/"}) {
        write_file(BOOK_FILE, START_KEY + " " + list + "\n");
        found = -1;
        look_up(LIGHT, &found);
        EXPECT_EQ(found, 0) << list;   // nothing on a3; a dark pawn; no such pawn move; onto an own pawn
    }
}

TEST_F(OpeningBook, PawnReachingTheLastRankPromotesToAQueen) {
    set_position("8/4P1k1/8/8/8/8/8/4K3 w - - 0 1");
    write_file(BOOK_FILE, key_of_position() + " /0/12,4/\n");
    int found = 0;
    look_up(LIGHT, &found);
    ASSERT_EQ(found, 1);
    const move_bytes m = var_princ.moves[0];
    EXPECT_EQ(m.from, sq("e7"));
    EXPECT_EQ(m.to, sq("e8"));
    EXPECT_NE(m.bits & MF_PROMOTE, 0);
    EXPECT_EQ(m.promote, QUEEN);
    // The move is the generated one, so it can be played.
    ASSERT_EQ(makemove(m), 1);
    EXPECT_EQ(piece[sq("e8")], QUEEN);
    takeback();
}

// ---------------------------------------------------------------------------
// Growing the book.

TEST_F(OpeningBook, AddingToAMissingBookCreatesIt) {
    EXPECT_EQ(add(START_KEY, 52, 36, LIGHT), "Adding to book ... \nBook update \n");
    EXPECT_EQ(read_file(BOOK_FILE), START_KEY + " /0/52,36/\n");
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), START_KEY + " /0/52,36/\n");
}

TEST_F(OpeningBook, AddingToAnEmptyBookWritesOneLine) {
    write_file(BOOK_FILE, "");
    EXPECT_EQ(add(START_KEY, 52, 36, LIGHT), "Adding to book ... \nBook update \n");
    EXPECT_EQ(read_file(BOOK_FILE), START_KEY + " /0/52,36/\n");
}

TEST_F(OpeningBook, MovesAreAppendedToTheirLineEvenWhenAlreadyThere) {
    add(START_KEY, 52, 36, LIGHT);
    add(START_KEY, 51, 35, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), START_KEY + " /0/52,36/51,35/\n");
    add(START_KEY, 52, 36, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), START_KEY + " /0/52,36/51,35/52,36/\n");
    // open.tmp holds the whole new book too.
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), read_file(BOOK_FILE));
    int found = 0;
    EXPECT_EQ(look_up(LIGHT, &found), "In Book: 52,36 51,35 52,36  \n");
    EXPECT_EQ(found, 1);
}

TEST_F(OpeningBook, OtherColourGetsALineOfItsOwn) {
    add(START_KEY, 52, 36, LIGHT);
    add(START_KEY, 0, 8, DARK);   // square 0 is written as 0
    add(START_KEY, 12, 28, DARK);
    EXPECT_EQ(read_file(BOOK_FILE), START_KEY + " /0/52,36/\n" + START_KEY + " /1/0,8/12,28/\n");
}

TEST_F(OpeningBook, OnlyTheFirstMatchingLineGrowsAndOtherLinesAreKept) {
    const std::string other = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n";
    write_file(BOOK_FILE, other + START_KEY + " /0/52,36/\n" + START_KEY + " /0/51,35/\n");
    add(START_KEY, 50, 34, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), other + START_KEY + " /0/52,36/50,34/\n" + START_KEY + " /0/51,35/\n");
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), read_file(BOOK_FILE));
}

TEST_F(OpeningBook, RewriteKeepsALastLineWithoutNewlineAndEndsItWithOne) {
    const std::string first = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n";
    write_file(BOOK_FILE, first + START_KEY + " /0/52,36/");
    add("8/8/8/8/8/8/8/8", 1, 2, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), first + START_KEY + " /0/52,36/\n8/8/8/8/8/8/8/8 /0/1,2/\n");
    write_file(BOOK_FILE, first + START_KEY + " /0/52,36/");
    add(START_KEY, 51, 35, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), first + START_KEY + " /0/52,36/51,35/\n");
}

TEST_F(OpeningBook, RewriteKeepsLongLinesWhole) {
    std::string list = "/0/";
    while (list.size() < 1000) list += "52,36/";
    const std::string long_line = START_KEY + " " + list;
    write_file(BOOK_FILE, long_line + "\n");
    add("8/8/8/8/8/8/8/8", 1, 2, DARK);
    EXPECT_EQ(read_file(BOOK_FILE), long_line + "\n8/8/8/8/8/8/8/8 /1/1,2/\n");
    add(START_KEY, 51, 35, LIGHT);
    EXPECT_EQ(read_file(BOOK_FILE), long_line + "51,35/\n8/8/8/8/8/8/8/8 /1/1,2/\n");
}

// A program killed while the book is rewritten must leave the whole book in
// open.dat. The old file is replaced, never emptied and written again: a
// second name for it (a hard link) still reads the old book whole.
TEST_F(OpeningBook, OldBookFileIsReplacedNotRewrittenInPlace) {
    const std::string old_book = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n" + START_KEY + " /0/52,36/\n";
    write_file(BOOK_FILE, old_book);
    ASSERT_EQ(link(BOOK_FILE, "old.dat"), 0);
    EXPECT_EQ(add(START_KEY, 51, 35, LIGHT), "Adding to book ... \nBook update \n");
    EXPECT_EQ(read_file("old.dat"), old_book);
    const std::string new_book = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n" + START_KEY + " /0/52,36/51,35/\n";
    EXPECT_EQ(read_file(BOOK_FILE), new_book);
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), new_book);
    // The next addition replaces the file again; the link keeps the first book.
    add(START_KEY, 12, 28, DARK);
    EXPECT_EQ(read_file("old.dat"), old_book);
    EXPECT_EQ(read_file(BOOK_FILE), new_book + START_KEY + " /1/12,28/\n");
}

// After a kill while open.tmp was being written, open.tmp is cut short and
// open.dat is whole: the next addition starts from open.dat alone.
TEST_F(OpeningBook, TempFileCutShortByAKillIsWrittenAnewFromTheBook) {
    const std::string book = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n" + START_KEY + " /0/52,36/\n";
    write_file(BOOK_FILE, book);
    write_file(BOOK_TEMP_FILE, "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCA");
    EXPECT_EQ(add(START_KEY, 51, 35, LIGHT), "Adding to book ... \nBook update \n");
    const std::string grown = "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n" + START_KEY + " /0/52,36/51,35/\n";
    EXPECT_EQ(read_file(BOOK_FILE), grown);
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), grown);
}

TEST_F(OpeningBook, UncreatableTempFileLeavesTheBookUntouchedWithAMessage) {
    const std::string book = START_KEY + " /0/52,36/\n";
    write_file(BOOK_FILE, book);
    ASSERT_EQ(mkdir(BOOK_TEMP_FILE, 0700), 0);   // open.tmp cannot be opened as a file
    const std::string out = add(START_KEY, 51, 35, LIGHT);
    EXPECT_EQ(out.rfind("Adding to book ... \n", 0), 0u) << out;
    EXPECT_NE(out.find(BOOK_TEMP_FILE, 20), std::string::npos) << out;
    EXPECT_EQ(out.find("Book update"), std::string::npos) << out;
    EXPECT_EQ(read_file(BOOK_FILE), book);
}

TEST_F(OpeningBook, UnwritableBookLeavesTheNewBookInTheTempFileWithAMessage) {
    ASSERT_EQ(mkdir(BOOK_FILE, 0700), 0);   // open.dat cannot be written as a file
    const std::string out = add(START_KEY, 52, 36, LIGHT);
    EXPECT_NE(out.find(BOOK_FILE, 20), std::string::npos) << out;
    EXPECT_EQ(out.find("Book update"), std::string::npos) << out;
    EXPECT_EQ(read_file(BOOK_TEMP_FILE), START_KEY + " /0/52,36/\n");
}

// ---------------------------------------------------------------------------
// The book in the search and in the engine's reply.

TEST_F(OpeningBook, SearchTakesTheBookMoveForTheEnginesColourAndClearsTheSwitch) {
    write_file(BOOK_FILE, START_KEY + " /0/52,36/\n");
    plain_search_settings(1, 10000);
    computer_side = LIGHT;
    book_on = 1;
    const position_state::snapshot before = position_state::take();
    const std::string out = printed_by([] { tree_surf(1); });
    EXPECT_EQ(position_state::differences(before, position_state::take()), "");
    EXPECT_EQ(out.rfind("In Book: 52,36  \n", 0), 0u) << out;
    EXPECT_EQ(lines_of(out).size(), 2u) << out;   // and the summary line
    EXPECT_EQ(stop_search, 1);
    EXPECT_EQ(book_on, 0);
    EXPECT_EQ(var_princ.moves[0], mv("e2", "e4", 0, 0x18));
    EXPECT_EQ(ply, 0);

    // Switched off: the search runs.
    set_position(START);
    plain_search_settings(1, 10000);
    computer_side = EMPTY;
    book_on = 0;
    EXPECT_EQ(printed_by([] { tree_surf(1); }), "");
    EXPECT_EQ(stop_search, 0);

    // The book is asked for the engine's colour.
    set_position(START);
    plain_search_settings(1, 10000);
    computer_side = DARK;
    book_on = 1;
    EXPECT_EQ(printed_by([] { tree_surf(1); }).find("In Book"), std::string::npos);
    EXPECT_EQ(stop_search, 0);
    EXPECT_EQ(book_on, 0);
}

TEST_F(OpeningBook, EngineReplyUsesTheBookOnlyBeforeMove24) {
    // a2a3 is a book move no depth-1 search would choose.
    write_file(BOOK_FILE, START_KEY + " /0/48,40/\n");
    plain_search_settings(1, 10000);
    computer_side = LIGHT;
    printed_by([] { engine_reply(); });
    EXPECT_EQ(piece[sq("a3")], PAWN);
    EXPECT_EQ(undos, 1);

    set_position(START);
    plain_search_settings(1, 10000);
    computer_side = LIGHT;
    game_plies = 24;   // the record may keep fewer: the game's count decides
    printed_by([] { engine_reply(); });
    EXPECT_EQ(piece[sq("a3")], EMPTY);
    EXPECT_EQ(piece[sq("a2")], PAWN);
    set_position(START);   // a fresh game record
}
