// Edition 2.3's search: the time budget, the table's rules, the null-move
// limit, the choice among captures, the deepest plies, mates, and the
// position left as it was however the search ends.
#include "board/fen.h"
#include "board/position.h"
#include "editions/v23/game.h"
#include "editions/v23/search23.h"
#include "editions/v23/table.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "test_util.h"
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

const char* const MIDDLE_GAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8";
const char* const MATE_IN_TWO = "3r2k1/5ppp/8/8/8/8/4RPPP/4R1K1 w - - 0 1";   // Re8+ Rxe8 Rxe8#
const char* const MATE_IN_ONE = "6k1/5ppp/8/8/8/8/5PPP/4R1K1 w - - 0 1";      // Re8#

class Search23 : public testing::Test {
protected:
    int* const vars[11] = {&max_time, &max_depth, &computer_side, &minki,        &maxkf,    &book_on,
                           &silencio, &follow_pv, &stop_time,     &search_count, &game_plies};
    int kept[11];
    void SetUp() override {
        for (int i = 0; i < 11; i++) kept[i] = *vars[i];
        clear_table();
    }
    void TearDown() override {
        for (int i = 0; i < 11; i++) *vars[i] = kept[i];
        ply = 0;
    }
};

// The FEN, then ply 0's moves; a fixed-depth search with no book, the
// engine on neither side, the window of a first search.
void set_up(const char* fen, int depth = 4, int seconds = 10000) {
    ASSERT_EQ(process_fen(fen), 1) << fen;
    ply = 0;
    Move2Gen();
    max_depth = depth, max_time = seconds, book_on = 0, computer_side = EMPTY;
    minki = -INITIAL_WINDOW, maxkf = INITIAL_WINDOW;
}

std::string coordinates(move_bytes m) {
    return {char('a' + (m.from & 7)), char('8' - (m.from >> 3)), char('a' + (m.to & 7)), char('8' - (m.to >> 3))};
}

// Runs a silent search and returns its move.
std::string search_move(int silent = 1) {
    printed_by([silent] { tree_surf(silent); });
    return coordinates(var_princ.moves[0]);
}

// Makes the first legal move of the current ply's list.
void make_first_legal() {
    Move2Gen();
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++)
        if (makemove(gen_dat[i].m)) return;
    FAIL() << "no legal move at ply " << ply;
}

std::vector<uint64_t> position_words() {
    std::vector<uint64_t> w(std::begin(piece), std::end(piece));
    w.insert(w.end(), std::begin(color), std::end(color));
    for (uint64_t v : {uint64_t(side), uint64_t(xside), uint64_t(castle), uint64_t(ep), uint64_t(fifty),
                       uint64_t(ply), uint64_t(light_king_sq), uint64_t(dark_king_sq), index_key, check_key,
                       uint64_t(rep_count)})
        w.push_back(v);
    return w;
}

}  // namespace

TEST_F(Search23, TimeBudgetFollowsTheEngineClockAndTheMiddleGame) {
    // Clock in centiseconds: seconds outside and inside the stretch of
    // half-moves 33 to 45.
    const long bands[][3] = {{0, 1, 1},          {2999, 1, 1},    {3000, 3, 4},    {4000, 3, 4},
                             {5999, 3, 4},       {6000, 5, 7},    {8999, 5, 7},    {9000, 7, 10},
                             {20000, 7, 10},     {29999, 7, 10},  {30000, 15, 22}, {59999, 15, 22},
                             {60000, 30, 45},    {119999, 30, 45}, {120000, 120, 180}, {10000000, 120, 180}};
    for (const auto& b : bands) {
        game_plies = 10;
        EXPECT_EQ(time_budget(b[0]), b[1]) << b[0];
        game_plies = 33;
        EXPECT_EQ(time_budget(b[0]), b[2]) << b[0];
        game_plies = 45;
        EXPECT_EQ(time_budget(b[0]), b[2]) << b[0];
        game_plies = 32;
        EXPECT_EQ(time_budget(b[0]), b[1]) << b[0];
        game_plies = 46;
        EXPECT_EQ(time_budget(b[0]), b[1]) << b[0];
    }
}

TEST_F(Search23, TableKeepsDeeperResultsOfThisSearchOnly) {
    index_key = 12345, check_key = 777;
    search_count = 5;
    tt_store(4, 30, 0, 100);
    tt_record_move(move_bytes{52, 36, 0, 0x18}, TT_FIRST_GAIN);
    ASSERT_TRUE(tt_probe(4));
    EXPECT_EQ(tt_probe(4)->bound, TT_EXACT);
    EXPECT_FALSE(tt_probe(5));   // asks for more depth than stored

    tt_store(3, -50, 0, 100);   // shallower, same search: skipped
    EXPECT_EQ(tt_slot().score, 30);
    search_count = 6;
    tt_store(3, -50, 0, 100);   // shallower, from a later search: overwrites, keeps the move
    EXPECT_EQ(tt_slot().score, -50);
    EXPECT_EQ(tt_slot().bound, TT_UPPER);
    EXPECT_EQ(tt_slot().age, 6);
    int gain;
    EXPECT_EQ(tt_best_move(&gain), (move_bytes{52, 36, 0, 0x18}));
    EXPECT_EQ(gain, TT_FIRST_GAIN);
    tt_store(5, 100, 0, 100);   // deeper: overwrites in any search
    EXPECT_EQ(tt_slot().bound, TT_LOWER);

    // A new position in the same slot (same index key) takes it over,
    // without the old position's move.
    check_key = 778;
    EXPECT_FALSE(tt_probe(1));
    EXPECT_EQ(move_value(tt_best_move(&gain)), 0u);
    tt_record_move(move_bytes{12, 28, 0, 0x18}, 40);   // no entry of its own yet: nothing recorded
    check_key = 777;
    EXPECT_EQ(tt_best_move(&gain), (move_bytes{52, 36, 0, 0x18}));
    check_key = 778;
    tt_store(6, 10, 0, 100);
    EXPECT_EQ(move_value(tt_best_move(&gain)), 0u);
    check_key = 777;
    EXPECT_FALSE(tt_probe(1));

    // A fresh table holds nothing, not even for the key 0 of a new game.
    clear_table();
    index_key = check_key = 0;
    const long hits = tt_hits, misses = tt_misses;
    EXPECT_FALSE(tt_probe(1));
    EXPECT_EQ(tt_hits, hits);
    EXPECT_EQ(tt_misses, misses + 1);
}

// Searching the same root again (a move taken back, a second "go") finds
// the same move with a real search, not the first listed move taken from the
// scores the last search left at every root child.
TEST_F(Search23, SecondSearchOfARootSearchesItAgain) {
    set_up(MIDDLE_GAME, 4);
    const std::string first = search_move();
    const long first_nodes = nodes;
    minki = -INITIAL_WINDOW, maxkf = INITIAL_WINDOW;
    EXPECT_EQ(search_move(), first);
    EXPECT_GT(nodes, first_nodes / 4);
    EXPECT_GE(var_princ.count, 2);
}

TEST_F(Search23, NullMoveNeedsDepthPiecesAndAnEarlyGame) {
    set_up(MIDDLE_GAME);
    make_first_legal();
    make_first_legal();   // ply 2: a null move may follow
    search_count = 69;
    EXPECT_TRUE(null_move_allowed(3, false));
    EXPECT_FALSE(null_move_allowed(2, false));
    EXPECT_FALSE(null_move_allowed(3, true));
    search_count = 70;
    EXPECT_FALSE(null_move_allowed(3, false));
    search_count = 0;
    ASSERT_EQ(makenullmove(), 1);
    EXPECT_FALSE(null_move_allowed(5, false));   // not twice in a row
    unmakenullmove();
    takeback();
    takeback();

    set_up("4k3/pppp4/8/8/8/8/PPPP4/4K3 w - - 0 1");
    make_first_legal();
    make_first_legal();
    EXPECT_FALSE(null_move_allowed(5, false));   // king and pawns only
    takeback();
    takeback();
}

TEST_F(Search23, SeventiethSearchOfAGameTriesNoNullMove) {
    for (int before : {68, 69}) {
        set_up(MIDDLE_GAME, 5);
        search_count = before;
        chash[CHASH_NULL_CUTOFF] = 0;
        search_move();
        if (before == 68) EXPECT_GT(chash[CHASH_NULL_CUTOFF], 0) << "the 69th search cuts off on null moves";
        else EXPECT_EQ(chash[CHASH_NULL_CUTOFF], 0) << "the 70th search tries none";
    }
}

TEST_F(Search23, FixedDepthSearchTakesTheBestOfSeveralCaptures) {
    // The pawn's capture is tried first and loses the queen; the queen's
    // capture of the queen then passes the zero window and must be searched
    // again to beat the rook's capture that follows it.
    set_up("7k/6pp/8/3n3r/q3P3/8/5PPP/3Q2K1 w - - 0 1", 1);
    EXPECT_EQ(search_move(), "d1a4");
    set_up("7k/6pp/8/3n3r/q3P3/8/5PPP/3Q2K1 w - - 0 1", 2);
    EXPECT_EQ(search_move(), "d1a4");
}

TEST_F(Search23, MateIsFoundAndEndsTheSearch) {
    set_up(MATE_IN_TWO, 6);
    EXPECT_EQ(search_move(), "e2e8");
    EXPECT_EQ(stop_search, 1) << "a mate within reach stops the iterations";
    EXPECT_LT(mdpth, 6);
    EXPECT_EQ(ply, 0);

    // Within the first two depths a mate does not stop the search; the
    // completed iteration prints its line with the mate score. (The capture
    // search sees no mate: it takes a ply with all moves to see one.)
    set_up(MATE_IN_ONE, 2);
    const std::string out = printed_by([] { tree_surf(1); });
    EXPECT_EQ(coordinates(var_princ.moves[0]), "e1e8");
    EXPECT_EQ(stop_search, 0);
    const std::string last = out.substr(out.rfind("  2 "));
    EXPECT_EQ(last.substr(0, 9), "  2  9999") << out;
    EXPECT_EQ(last.substr(last.size() - 6), " e1e8\n") << out;
}

TEST_F(Search23, PositionWithoutMovesGivesNoMove) {
    set_up("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 5);   // stalemate
    std::string out = printed_by([] { tree_surf(0); });
    EXPECT_EQ(move_value(var_princ.moves[0]), 0u);
    EXPECT_EQ(out.substr(0, 9), "  1     2");
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;

    set_up("7k/6Q1/6K1/8/8/8/8/8 b - - 0 1", 5);   // checkmate: nothing printed
    out = printed_by([] { tree_surf(0); });
    EXPECT_EQ(move_value(var_princ.moves[0]), 0u);
    EXPECT_EQ(out, "");
}

TEST_F(Search23, TimeOutLeavesThePositionAsItWas) {
    for (const char* fen : {MIDDLE_GAME, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"}) {
        set_up(fen, 1000, 0);
        make_first_legal();   // a game record behind the search: the stack must come back as it was
        ply = 0;
        Move2Gen();
        const std::vector<uint64_t> before = position_words();
        const std::string move = search_move(0);
        EXPECT_EQ(stop_search, 1);
        EXPECT_EQ(position_words(), before) << fen;
        bool listed = false;
        for (int i = gen_begin[ply]; i < gen_end[ply]; i++) listed |= coordinates(gen_dat[i].m) == move;
        EXPECT_TRUE(listed) << move;
    }
}

TEST_F(Search23, DeepLinesStopAtTheLastPly) {
    // A search started near the end of the undo records: no move is made at
    // the last ply, and everything made is taken back.
    set_up(MIDDLE_GAME);
    while (ply < SEARCH_LAST_PLY - 2) make_first_legal();
    const std::vector<uint64_t> before = position_words();
    silencio = 1, follow_pv = 0;
    stop_time = int(unsigned(get_ms()) + 3600000u);
    clear_ordering23();
    tagLINE line{};
    const int s = alphabeta(-INITIAL_WINDOW, INITIAL_WINDOW, 6, &line);
    EXPECT_GT(s, -MATE_SCORE);
    EXPECT_LT(s, MATE_SCORE);
    EXPECT_LE(line.count, 2);
    EXPECT_EQ(position_words(), before);
    while (ply > 0) takeback();
}
