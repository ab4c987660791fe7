// Attack detection: the attack map against attacks found by walking the board
// arrays man by man, the single-square test against the map, check, the
// bishop pin score and the king distance.
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/fen.h"
#include "board/position.h"
#include "board_walk.h"
#include "moves/attack.h"
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace board_walk;

namespace {

// Positions with something to look at for attacks: open lines, blocked
// lines, several queens, pawns on the rim, kings close together.
const char* const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 2 8",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "k7/pppppppp/QQQQQQQQ/8/8/qqqqqqqq/PPPPPPPP/7K w - - 0 1",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "8/8/8/3k4/8/3K4/8/8 w - - 0 1",
};

// Fills the attack map of side s, with every `from` entry first set to a
// pattern of its own so that entries saBit must leave alone can be told apart.
struct engine_map {
    BitBoard all = 0;
    BitBoard from[64];
    BitBoard before[64];
    int result = 0;
    explicit engine_map(int s) {
        for (int t = 0; t < 64; t++) from[t] = before[t] = 0x0101010101010101ULL << (t % 8);
        all = ~BitBoard{0};
        result = saBit(s, &all, from);
    }
};

void expect_map_matches_walk(const std::string& where) {
    for (int s = 0; s < 2; s++) {
        const engine_map got(s);
        const attack_map want = walk_attack_map(s);
        EXPECT_EQ(got.result, 1);
        EXPECT_EQ(got.all, want.all) << where << " side " << s;
        for (int t = 0; t < 64; t++) {
            // Entries gain the attackers; entries of unattacked squares keep what they held.
            EXPECT_EQ(got.from[t], got.before[t] | want.from[t]) << where << " side " << s << " square " << t;
        }
    }
}

void expect_attack_matches_walk(const std::string& where) {
    for (int by = 0; by < 2; by++) {
        const BitBoard walked = walk_attack_map(by).all;
        BitBoard from[64] = {};
        BitBoard all = 0;
        saBit(by, &all, from);
        for (int t = 0; t < 64; t++) {
            const int expected = int(walked >> t & 1);
            EXPECT_EQ(attack(t, by), expected) << where << " by " << by << " square " << t;
            EXPECT_EQ(int(all >> t & 1), expected) << where << " by " << by << " square " << t;
        }
    }
    EXPECT_EQ(in_check(LIGHT), attack(light_king_sq, DARK)) << where;
    EXPECT_EQ(in_check(DARK), attack(dark_king_sq, LIGHT)) << where;
}

// The pin score, found from the board arrays: for each bishop, the men
// strictly between it and the enemy king (and the enemy's lowest queen) when
// they share a line.
int walked_pins() {
    static const int against_king[6] = {10, 15, 0, 25, 20, 0};   // by piece code
    static const int against_queen[6] = {8, 12, 0, 19, 0, 0};
    auto between = [](int a, int b, int* only) {
        int df = file_of(b) - file_of(a), dr = row_of(b) - row_of(a);
        if (a == b || !(df == 0 || dr == 0 || std::abs(df) == std::abs(dr))) return -1;
        int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0), n = 0;
        for (int f = file_of(a) + sf, r = row_of(a) + sr; square_at(f, r) != b; f += sf, r += sr)
            if (color[square_at(f, r)] != EMPTY) {
                n++;
                *only = square_at(f, r);
            }
        return n;
    };
    int score = 0;
    for (int b = 0; b < 64; b++) {
        if (piece[b] != BISHOP) continue;
        const int us = color[b], them = 1 - us, sign = us == LIGHT ? 1 : -1;
        int king = -1, queen = -1;
        for (int s = 63; s >= 0; s--) {
            if (color[s] != them) continue;
            if (piece[s] == KING) king = s;
            if (piece[s] == QUEEN) queen = s;
        }
        int only = -1;
        if (between(king, b, &only) == 1 && color[only] == them) score += sign * against_king[piece[only]];
        if (queen >= 0 && between(queen, b, &only) == 1 && color[only] == them)
            score += sign * against_queen[piece[only]];
    }
    return score;
}

}  // namespace

TEST(AttackMap, MatchesAWalkOverTheBoard) {
    for (const char* fen : POSITIONS) {
        ASSERT_EQ(process_fen(fen), 1) << fen;
        expect_map_matches_walk(fen);
    }
    std::mt19937 rng(77);
    for (int i = 0; i < 300; i++) {
        random_position(rng, i % 32);
        expect_map_matches_walk("random position " + std::to_string(i));
        if (HasFailure()) break;
    }
}

TEST(AttackMap, StartPositionCoversTheThirdRank) {
    init();
    BitBoard from[64] = {};
    BitBoard all = 0;
    EXPECT_EQ(saBit(LIGHT, &all, from), 1);
    EXPECT_EQ(all & filas[5], filas[5]);
    EXPECT_EQ(from[sq("f3")], squares("e2 g2 g1"));
    EXPECT_EQ(from[sq("b1")], squares("a1"));   // the queen on d1 is blocked by c1
    EXPECT_EQ(from[sq("e4")], 0u);
    EXPECT_EQ(all & filas[3], 0u);
}

TEST(SquareAttack, AgreesWithTheMapOnEverySquare) {
    for (const char* fen : POSITIONS) {
        ASSERT_EQ(process_fen(fen), 1) << fen;
        expect_attack_matches_walk(fen);
    }
    std::mt19937 rng(99);
    for (int i = 0; i < 300; i++) {
        random_position(rng, i % 32);
        expect_attack_matches_walk("random position " + std::to_string(i));
        if (HasFailure()) break;
    }
}

TEST(SquareAttack, RookOnA1SweepsTheFirstRankUpToTheFirstMan) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/K7/8/R7 w - - 0 1"), 1);
    for (const char* s : {"b1", "c1", "d1", "e1", "f1", "g1", "h1"}) EXPECT_EQ(attack(sq(s), LIGHT), 1) << s;
    ASSERT_EQ(process_fen("4k3/8/8/8/8/K7/8/R2N4 w - - 0 1"), 1);
    for (const char* s : {"b1", "c1", "d1"}) EXPECT_EQ(attack(sq(s), LIGHT), 1) << s;
    for (const char* s : {"e1", "f1", "g1", "h1"}) EXPECT_EQ(attack(sq(s), LIGHT), 0) << s;
    // A man of either colour stops the rook the same way.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/K7/8/R2n4 w - - 0 1"), 1);
    EXPECT_EQ(attack(sq("d1"), LIGHT), 1);
    EXPECT_EQ(attack(sq("e1"), LIGHT), 0);
}

TEST(SquareAttack, SquaresNextToEveryQueenAreAttacked) {
    // Two light queens, e4 and a1; a2 and b2 are reached by the a1 queen only.
    ASSERT_EQ(process_fen("8/8/7k/8/4Q3/8/8/Q3K3 w - - 0 1"), 1);
    EXPECT_EQ(attack(sq("a2"), LIGHT), 1);
    EXPECT_EQ(attack(sq("b2"), LIGHT), 1);
    EXPECT_EQ(attack(sq("b1"), LIGHT), 1);
    EXPECT_EQ(attack(sq("d5"), LIGHT), 1);
    EXPECT_EQ(attack(sq("b3"), LIGHT), 0);   // a knight's step from a1, off every line of e4
    // The same with a single queen and a dark one nearby.
    ASSERT_EQ(process_fen("8/8/7k/8/8/8/1q6/4K3 w - - 0 1"), 1);
    EXPECT_EQ(attack(sq("a1"), DARK), 1);
    EXPECT_EQ(attack(sq("c3"), DARK), 1);
}

TEST(SquareAttack, PawnsAttackDiagonallyForwardNotStraightAhead) {
    ASSERT_EQ(process_fen("4k3/8/8/3p4/8/8/4P3/4K3 w - - 0 1"), 1);
    EXPECT_EQ(attack(sq("d3"), LIGHT), 1);
    EXPECT_EQ(attack(sq("f3"), LIGHT), 1);
    EXPECT_EQ(attack(sq("e3"), LIGHT), 0);
    EXPECT_EQ(attack(sq("e4"), DARK), 1);
    EXPECT_EQ(attack(sq("c4"), DARK), 1);
    EXPECT_EQ(attack(sq("d4"), DARK), 0);
    EXPECT_EQ(attack(sq("d6"), LIGHT), 0);   // behind a light pawn's reach
}

// Making a move changes the sets before the board arrays are looked at again,
// so the test must read the sets only.
TEST(SquareAttack, FollowsTheKeptSetsNotTheBoardArrays) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/3P4/8/R3K1N1 w - - 0 1"), 1);
    ASSERT_EQ(attack(sq("e4"), LIGHT), 1);
    ASSERT_EQ(attack(sq("h3"), LIGHT), 1);
    modif_peon(LIGHT, sq("d3"), 1);
    EXPECT_EQ(attack(sq("e4"), LIGHT), 0);
    modif_caba(LIGHT, sq("g1"), 1);
    EXPECT_EQ(attack(sq("h3"), LIGHT), 0);
    // With e1 taken out of the occupancy the rook on a1 sees through to h1.
    ASSERT_EQ(attack(sq("g1"), LIGHT), 0);
    casillas_ocupadas ^= bit(sq("e1"));
    EXPECT_EQ(attack(sq("g1"), LIGHT), 1);
}

TEST(Check, StartPositionAndTheQuickestMate) {
    init();
    EXPECT_EQ(in_check(LIGHT), 0);
    EXPECT_EQ(in_check(DARK), 0);
    // 1. f3 e5 2. g4 Qh4
    ASSERT_EQ(process_fen("rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3"), 1);
    EXPECT_EQ(in_check(LIGHT), 1);
    EXPECT_EQ(in_check(DARK), 0);
    // The dark king is checked by a knight, which no line test would find.
    ASSERT_EQ(process_fen("4k3/8/3N4/8/8/8/8/4K3 b - - 0 1"), 1);
    EXPECT_EQ(in_check(DARK), 1);
    EXPECT_EQ(in_check(LIGHT), 0);
}

TEST(Pins, BishopPinningAKnightToTheKing) {
    ASSERT_EQ(process_fen("4k3/8/2n5/1B6/8/8/8/4K3 w - - 0 1"), 1);
    EXPECT_EQ(PinCalc(), 15);
    // Two men between bishop and king: no pin.
    ASSERT_EQ(process_fen("4k3/3p4/2n5/1B6/8/8/8/4K3 w - - 0 1"), 1);
    EXPECT_EQ(PinCalc(), 0);
    // The same with the colours swapped counts against light.
    ASSERT_EQ(process_fen("4k3/8/8/8/1b6/2N5/8/4K3 b - - 0 1"), 1);
    EXPECT_EQ(PinCalc(), -15);
    // A light man in front of the dark king is no pin by light.
    ASSERT_EQ(process_fen("4k3/8/2N5/1B6/8/8/8/4K3 b - - 0 1"), 1);
    EXPECT_EQ(PinCalc(), 0);
}

TEST(Pins, ValueDependsOnThePinnedManAndWhatIsBehindIt) {
    struct example {
        const char* fen;
        int score;
    };
    const example examples[] = {
        {"4k3/8/2p5/1B6/8/8/8/4K3 w - - 0 1", 10},    // pawn against the king
        {"4k3/8/2r5/1B6/8/8/8/4K3 w - - 0 1", 25},    // rook against the king
        {"4k3/8/2q5/1B6/8/8/8/4K3 w - - 0 1", 20},    // queen against the king
        {"4k3/8/2b5/1B6/8/8/8/4K3 w - - 0 1", 0},     // a bishop is not scored
        {"8/3q4/2n5/1B6/8/8/8/k3K3 w - - 0 1", 12},   // knight against the queen
        {"8/3q4/2p5/1B6/8/8/8/k3K3 w - - 0 1", 8},    // pawn against the queen
        {"8/3q4/2r5/1B6/8/8/8/k3K3 w - - 0 1", 19},   // rook against the queen
        // Knight in front of the queen, queen in front of the king: the
        // knight is pinned to the queen only.
        {"4k3/3q4/2n5/1B6/8/8/8/4K3 w - - 0 1", 12},
        // The line test takes any line through the bishop, ranks included.
        {"8/8/8/1B1n1k2/8/8/8/4K3 w - - 0 1", 15},
        {"4k3/8/8/b7/8/8/3Q4/4K3 w - - 0 1", -20},    // queen against the king, by dark
    };
    for (const example& e : examples) {
        ASSERT_EQ(process_fen(e.fen), 1) << e.fen;
        EXPECT_EQ(PinCalc(), e.score) << e.fen;
    }
}

TEST(Pins, ScoreMatchesAWalkOverTheBoard) {
    for (const char* fen : POSITIONS) {
        ASSERT_EQ(process_fen(fen), 1) << fen;
        EXPECT_EQ(PinCalc(), walked_pins()) << fen;
    }
    std::mt19937 rng(31);
    for (int i = 0; i < 300; i++) {
        random_position(rng, 4 + i % 28);
        ASSERT_EQ(PinCalc(), walked_pins()) << "random position " << i;
    }
}

TEST(Distance, KingDistanceBetweenAnyTwoSquares) {
    for (int a = 0; a < 64; a++)
        for (int b = 0; b < 64; b++) ASSERT_EQ(distancia(a, b), king_distance(a, b)) << a << " " << b;
    EXPECT_EQ(distancia(0, 63), 7);
    EXPECT_EQ(distancia(sq("e4"), sq("e4")), 0);
    EXPECT_EQ(distancia(sq("a1"), sq("b3")), 2);
    EXPECT_EQ(distancia(sq("h4"), sq("a5")), 7);
}
