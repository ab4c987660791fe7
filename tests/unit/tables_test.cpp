// Geometry tables: every table is checked square by square against the
// coordinates of the squares, after a rebuild over deliberately spoilt
// contents, so that a builder that forgets to clear or to overwrite an entry
// shows up as well as one that computes it wrongly.
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/fen.h"
#include "board/position.h"
#include "board_walk.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>

using namespace board_walk;

namespace {

// A middle-game position, so that nothing in the tables can lean on the
// men of the start position.
const char* const MIDDLE_GAME = "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 2 8";

class GeometryTables : public testing::Test {
protected:
    void SetUp() override {
        std::memset(mask, 0xA5, sizeof mask);
        std::memset(sider, 0xA5, sizeof sider);
        std::memset(king_moves, 0xA5, sizeof king_moves);
        std::memset(knight_moves, 0xA5, sizeof knight_moves);
        std::memset(filas, 0xA5, sizeof filas);
        std::memset(columnas, 0xA5, sizeof columnas);
        std::memset(cruz, 0xA5, sizeof cruz);
        std::memset(diag, 0xA5, sizeof diag);
        std::memset(star, 0xA5, sizeof star);
        std::memset(king_area, 0xA5, sizeof king_area);
        std::memset(horizonte, 0xA5, sizeof horizonte);
        std::memset(entre, 0xA5, sizeof entre);
        std::memset(light_pattack, 0xA5, sizeof light_pattack);
        std::memset(dark_pattack, 0xA5, sizeof dark_pattack);
        std::memset(dt, 0x55, sizeof dt);
        octavas = central_squares = light_squares = dark_squares = ~BitBoard{0};
        E1F1G1 = E1D1C1 = E8F8G8 = E8D8C8 = ~BitBoard{0};
        H1F1 = A1D1 = H8F8 = A8D8 = H1G1F1 = H8G8F8 = A1H1A8H8 = ~BitBoard{0};
        ASSERT_EQ(process_fen(MIDDLE_GAME), 1);
    }
};

// Squares strictly between a and b when they share a rank, file or
// diagonal, found by stepping from a towards b.
BitBoard squares_between(int a, int b) {
    int df = file_of(b) - file_of(a), dr = row_of(b) - row_of(a);
    bool line = (df == 0) != (dr == 0) || (df != 0 && std::abs(df) == std::abs(dr));
    if (!line) return 0;
    int sf = (df > 0) - (df < 0), sr = (dr > 0) - (dr < 0);
    BitBoard b_set = 0;
    for (int f = file_of(a) + sf, r = row_of(a) + sr; square_at(f, r) != b; f += sf, r += sr)
        b_set |= bit(square_at(f, r));
    return b_set;
}

}  // namespace

TEST_F(GeometryTables, SingleSquareMasksAndNeighboursOnTheRank) {
    for (int s = 0; s < 64; s++) {
        EXPECT_EQ(mask[s], bit(s)) << s;
        BitBoard beside = 0;
        if (file_of(s) > 0) beside |= bit(s - 1);
        if (file_of(s) < 7) beside |= bit(s + 1);
        EXPECT_EQ(sider[s], beside) << s;
    }
}

TEST_F(GeometryTables, KingAndKnightStepsNeverWrapAroundTheEdge) {
    for (int s = 0; s < 64; s++) {
        BitBoard king = 0, knight = 0;
        for (int t = 0; t < 64; t++) {
            int df = std::abs(file_of(s) - file_of(t)), dr = std::abs(row_of(s) - row_of(t));
            if (df <= 1 && dr <= 1 && t != s) king |= bit(t);
            if ((df == 1 && dr == 2) || (df == 2 && dr == 1)) knight |= bit(t);
        }
        EXPECT_EQ(king_moves[s], king) << s;
        EXPECT_EQ(knight_moves[s], knight) << s;
    }
    EXPECT_EQ(king_moves[sq("a8")], squares("b8 a7 b7"));
    EXPECT_EQ(king_moves[sq("h1")], squares("g1 h2 g2"));
    EXPECT_EQ(PopCnt(king_moves[sq("e4")]), 8);
    EXPECT_EQ(knight_moves[sq("a8")], squares("c7 b6"));
    EXPECT_EQ(knight_moves[sq("b8")], squares("d7 a6 c6"));
    EXPECT_EQ(knight_moves[sq("g1")], squares("e2 f3 h3"));
    EXPECT_EQ(knight_moves[sq("h2")], squares("f1 f3 g4"));
    EXPECT_EQ(PopCnt(knight_moves[sq("d5")]), 8);
}

TEST_F(GeometryTables, RanksFilesAndLinesThroughASquare) {
    for (int i = 0; i < 8; i++) {
        BitBoard rank = 0, file = 0;
        for (int j = 0; j < 8; j++) {
            rank |= bit(square_at(j, i));
            file |= bit(square_at(i, j));
        }
        EXPECT_EQ(filas[i], rank) << i;
        EXPECT_EQ(columnas[i], file) << i;
    }
    EXPECT_EQ(octavas, squares("a8 b8 c8 d8 e8 f8 g8 h8 a1 b1 c1 d1 e1 f1 g1 h1"));
    EXPECT_EQ(central_squares, squares("d5 e5 d4 e4"));
    for (int s = 0; s < 64; s++) {
        BitBoard cross = 0, diagonals = 0, area = 0;
        for (int t = 0; t < 64; t++) {
            int df = file_of(t) - file_of(s), dr = row_of(t) - row_of(s);
            if (df == 0 || dr == 0) cross |= bit(t);
            if (std::abs(df) == std::abs(dr)) diagonals |= bit(t);
            if (king_distance(s, t) <= 2) area |= bit(t);
        }
        EXPECT_EQ(cruz[s], cross) << s;
        EXPECT_EQ(diag[s], diagonals) << s;
        EXPECT_EQ(star[s], cross | diagonals) << s;
        EXPECT_EQ(king_area[s], area) << s;
    }
    EXPECT_EQ(king_area[sq("a8")], squares("a8 b8 c8 a7 b7 c7 a6 b6 c6"));
    EXPECT_EQ(PopCnt(king_area[sq("e4")]), 25);
    EXPECT_EQ(PopCnt(diag[sq("a8")]), 8);
    EXPECT_EQ(PopCnt(diag[sq("d4")]), 14);
}

TEST_F(GeometryTables, SquareColoursAlternateWithCornersLight) {
    BitBoard light = 0;
    for (int s = 0; s < 64; s++) {
        EXPECT_EQ(sq_color[s], (file_of(s) + row_of(s)) % 2) << s;
        if ((file_of(s) + row_of(s)) % 2 == 0) light |= bit(s);
    }
    EXPECT_EQ(light_squares, light);
    EXPECT_EQ(dark_squares, ~light);
    EXPECT_TRUE(light_squares & bit(sq("a8")));
    EXPECT_TRUE(light_squares & bit(sq("h1")));
    EXPECT_TRUE(dark_squares & bit(sq("a1")));
    EXPECT_EQ(PopCnt(light_squares), 32);
}

TEST_F(GeometryTables, BetweenSquaresOnlyForSquaresOnACommonLine) {
    for (int a = 0; a < 64; a++)
        for (int b = 0; b < 64; b++) {
            BitBoard expected = a == b ? 0 : squares_between(a, b);
            ASSERT_EQ(entre[a][b], expected) << a << " " << b;
        }
    EXPECT_EQ(entre[sq("a1")][sq("h1")], squares("b1 c1 d1 e1 f1 g1"));
    EXPECT_EQ(entre[sq("a8")][sq("h1")], squares("b7 c6 d5 e4 f3 g2"));
    EXPECT_EQ(entre[sq("h8")][sq("a1")], squares("g7 f6 e5 d4 c3 b2"));
    EXPECT_EQ(entre[sq("e8")][sq("e1")], squares("e7 e6 e5 e4 e3 e2"));
    EXPECT_EQ(entre[sq("a8")][sq("c7")], 0u);   // a knight's step apart: no line
    EXPECT_EQ(entre[sq("a8")][sq("b7")], 0u);   // neighbours
    EXPECT_EQ(entre[sq("h4")][sq("a5")], 0u);   // next square in number, other rank
    EXPECT_EQ(entre[sq("d4")][sq("d4")], 0u);
}

TEST_F(GeometryTables, PawnHorizonIsTheZoneAheadOnThreeFiles) {
    for (int s = 0; s < 64; s++) {
        BitBoard ahead_light = 0, ahead_dark = 0;
        for (int t = 0; t < 64; t++) {
            if (std::abs(file_of(t) - file_of(s)) > 1) continue;
            if (row_of(t) < row_of(s)) ahead_light |= bit(t);
            if (row_of(t) > row_of(s)) ahead_dark |= bit(t);
        }
        // One step from promotion the horizon is empty: the last rank holds no pawns.
        EXPECT_EQ(horizonte[0][s], row_of(s) >= 2 ? ahead_light : 0) << s;
        EXPECT_EQ(horizonte[1][s], row_of(s) <= 5 ? ahead_dark : 0) << s;
    }
    EXPECT_EQ(horizonte[0][sq("e7")], 0u);
    EXPECT_EQ(horizonte[1][sq("e2")], 0u);
    EXPECT_EQ(PopCnt(horizonte[0][sq("e2")]), 18);
    EXPECT_EQ(horizonte[0][sq("e2")] & filas[0], squares("d8 e8 f8"));
    EXPECT_EQ(horizonte[0][sq("a6")], squares("a7 b7 a8 b8"));
    EXPECT_EQ(horizonte[1][sq("h3")], squares("g2 h2 g1 h1"));
}

TEST_F(GeometryTables, PawnAttacksAreTheTwoForwardDiagonals) {
    for (int s = 0; s < 64; s++) {
        bool back_rank = row_of(s) == 0 || row_of(s) == 7;
        EXPECT_EQ(light_pattack[s], back_rank ? 0 : pawn_steps(s, LIGHT)) << s;
        EXPECT_EQ(dark_pattack[s], back_rank ? 0 : pawn_steps(s, DARK)) << s;
    }
    EXPECT_EQ(light_pattack[sq("e4")], squares("d5 f5"));
    EXPECT_EQ(dark_pattack[sq("e4")], squares("d3 f3"));
    EXPECT_EQ(light_pattack[sq("a2")], squares("b3"));
    EXPECT_EQ(dark_pattack[sq("h7")], squares("g6"));
    EXPECT_EQ(light_pattack[sq("c1")] | dark_pattack[sq("c1")], 0u);
    EXPECT_EQ(light_pattack[sq("f8")] | dark_pattack[sq("f8")], 0u);
}

TEST_F(GeometryTables, CastlingMasksHoldTheirSquares) {
    EXPECT_EQ(E1F1G1, squares("e1 f1 g1"));
    EXPECT_EQ(E1D1C1, squares("e1 d1 c1"));
    EXPECT_EQ(E8F8G8, squares("e8 f8 g8"));
    EXPECT_EQ(E8D8C8, squares("e8 d8 c8"));
    EXPECT_EQ(H1F1, squares("h1 f1"));
    EXPECT_EQ(A1D1, squares("a1 d1"));
    EXPECT_EQ(H8F8, squares("h8 f8"));
    EXPECT_EQ(A8D8, squares("a8 d8"));
    EXPECT_EQ(H1G1F1, squares("h1 g1 f1"));
    EXPECT_EQ(H8G8F8, squares("h8 g8 f8"));
    EXPECT_EQ(A1H1A8H8, squares("a1 h1 a8 h8"));
}

TEST_F(GeometryTables, DistanceTableIsKingDistance) {
    for (int a = 0; a < 64; a++)
        for (int b = 0; b < 64; b++) ASSERT_EQ(dt[a][b], king_distance(a, b)) << a << " " << b;
    EXPECT_EQ(dt[sq("a8")][sq("h1")], 7);
    EXPECT_EQ(dt[sq("e4")][sq("f6")], 2);
}

// The pawn-attack tables must exist before the pawns are put into their sets,
// or the first set-up of a run, with the tables still empty, would leave the
// pawn-attack sets empty.
TEST(GeometryBuildOrder, PawnAttackSetsAreRightOnTheFirstSetUp) {
    std::memset(light_pattack, 0, sizeof light_pattack);
    std::memset(dark_pattack, 0, sizeof dark_pattack);
    init();
    BitBoard third = 0, sixth = 0;
    for (int s = 40; s <= 47; s++) third |= bit(s);
    for (int s = 16; s <= 23; s++) sixth |= bit(s);
    EXPECT_EQ(light_pawn_attacked, third);   // squares 40..47, the third rank
    EXPECT_EQ(dark_pawn_attacked, sixth);    // squares 16..23, the sixth rank
}
