// Leaf counts of the legal move tree against the known counts of
// positions rich in castling, en passant, promotions, pins and checks.
#include "board/fen.h"
#include "board/position.h"
#include "position_state.h"
#include "tools/perft.h"
#include <gtest/gtest.h>
#include <vector>

using namespace position_state;

namespace {

struct perft_case {
    const char* name;
    const char* fen;
    std::vector<uint64_t> counts;   // depth 1, 2, ...
};

std::ostream& operator<<(std::ostream& os, const perft_case& c) { return os << c.name; }

class Perft : public testing::TestWithParam<perft_case> {};

}  // namespace

TEST_P(Perft, LeafCountsMatchTheKnownCounts) {
    const perft_case& c = GetParam();
    ASSERT_EQ(process_fen(c.fen), 1) << c.fen;
    const snapshot root = take();
    for (size_t d = 1; d <= c.counts.size(); d++) {
        EXPECT_EQ(perft(int(d)), c.counts[d - 1]) << c.name << " depth " << d;
        EXPECT_EQ(differences(root, take()), "") << "after depth " << d;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, Perft,
    testing::Values(
        perft_case{"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", {20, 400, 8902, 197281}},
        perft_case{"castling_middle_game",
                   "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
                   {48, 2039, 97862}},
        perft_case{"rook_ending", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", {14, 191, 2812, 43238}},
        perft_case{"promotions_light", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
                   {6, 264, 9467}},
        perft_case{"promotions_dark", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1",
                   {6, 264, 9467}},
        perft_case{"promotion_threat", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8",
                   {44, 1486, 62379}},
        perft_case{"quiet_middle_game",
                   "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
                   {46, 2079, 89890}}),
    [](const testing::TestParamInfo<perft_case>& info) { return std::string(info.param.name); });
