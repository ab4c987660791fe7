// Rotated occupancy and rook attacks: the rank and file tables against a ray
// walk for every occupancy byte, and the full lookup (occupancy bytes plus
// tables) against a ray walk over random boards, both for arbitrary sets and
// for the current occupancy, which is read from the kept rotated set.
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/fen.h"
#include "board/position.h"
#include "board_walk.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <string>

using namespace board_walk;

namespace {

// The rank (or file) of s occupied as the byte says, as an ordinary set.
BitBoard rank_from_byte(int s, int occ) {
    BitBoard b = 0;
    for (int f = 0; f < 8; f++)
        if (occ >> f & 1) b |= bit(square_at(f, row_of(s)));
    return b;
}

BitBoard file_from_byte(int s, int occ) {
    BitBoard b = 0;
    for (int r = 0; r < 8; r++)
        if (occ >> r & 1) b |= bit(square_at(file_of(s), r));
    return b;
}

// The byte of occ on the rank of s (bit f: file f) and on its file (bit r: row r).
int rank_byte(int s, BitBoard occ) {
    int v = 0;
    for (int f = 0; f < 8; f++)
        if (occ >> square_at(f, row_of(s)) & 1) v |= 1 << f;
    return v;
}

int file_byte(int s, BitBoard occ) {
    int v = 0;
    for (int r = 0; r < 8; r++)
        if (occ >> square_at(file_of(s), r) & 1) v |= 1 << r;
    return v;
}

BitBoard rotate_by_coordinates(BitBoard b) {
    BitBoard out = 0;
    for (int s = 0; s < 64; s++)
        if (b >> s & 1) out |= bit((7 - file_of(s)) * 8 + row_of(s));
    return out;
}

// Random sets from nearly full to nearly empty.
BitBoard random_set(std::mt19937_64& rng, int i) {
    BitBoard b = rng();
    for (int j = 0; j < i % 4; j++) b &= rng();
    return b;
}

// What f prints on standard output.
template <class F>
std::string printed_by(F f) {
    testing::internal::CaptureStdout();
    f();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

class RookTables : public testing::Test {
protected:
    void SetUp() override { init(); }
};

}  // namespace

TEST(Rotation, EachFileBecomesOneByteEighthRankFirst) {
    bool seen[64] = {};
    for (int s = 0; s < 64; s++) {
        EXPECT_EQ(rotator90R[s], (7 - file_of(s)) * 8 + row_of(s)) << s;
        EXPECT_EQ(rotator90L[rotator90R[s]], s) << s;
        EXPECT_EQ(rotator90R[rotator90L[s]], s) << s;
        EXPECT_EQ(rotator90L[s], (s % 8) * 8 + 7 - s / 8) << s;
        seen[rotator90R[s]] = true;
    }
    for (int i = 0; i < 64; i++) EXPECT_TRUE(seen[i]) << i;
    EXPECT_EQ(rotator90R[sq("a8")], 56);
    EXPECT_EQ(rotator90R[sq("h8")], 0);
    EXPECT_EQ(rotator90R[sq("a1")], 63);
    EXPECT_EQ(rotator90R[sq("h1")], 7);
    EXPECT_EQ(rotator90R[sq("d5")], 35);
}

TEST_F(RookTables, RotatingASetMovesEveryMemberAndOverwritesTheOutput) {
    std::mt19937_64 rng(7);
    for (int i = 0; i < 2000; i++) {
        BitBoard b = random_set(rng, i), out = ~BitBoard{0};
        g90R_BitBoard(b, &out);
        ASSERT_EQ(out, rotate_by_coordinates(b)) << b;
        ASSERT_EQ(PopCnt(out), PopCnt(b));
    }
    BitBoard out = 12345;
    g90R_BitBoard(0, &out);
    EXPECT_EQ(out, 0u);
}

TEST_F(RookTables, RankBuilderStopsAtTheFirstManEitherWay) {
    static BitBoard got[64][256];
    const std::string printed = printed_by([&] {
        for (int s = 0; s < 64; s++)
            for (int occ = 0; occ < 256; occ++) got[s][occ] = BBat7(occ, bit(s));
    });
    EXPECT_EQ(printed, "");
    for (int s = 0; s < 64; s++)
        for (int occ = 0; occ < 256; occ++)
            ASSERT_EQ(got[s][occ], rook_walk(s, rank_from_byte(s, occ)) & filas[row_of(s)]) << s << " " << occ;
}

TEST_F(RookTables, RankBuilderComplainsAboutAnythingButOneSquare) {
    BitBoard two = 0;
    EXPECT_EQ(printed_by([&] { two = BBat7(0x10, squares("c4 f4")); }), "error parametros BBat7\n");
    EXPECT_EQ(two, BBat7(0x10, squares("c4")));   // carries on with the lower square
    EXPECT_EQ(two, squares("a4 b4 d4 e4"));
    EXPECT_EQ(printed_by([] { BBat7(0, 0); }), "error parametros BBat7\n");
}

TEST_F(RookTables, RankAndFileTablesMatchARayWalkForEveryByte) {
    for (int s = 0; s < 64; s++)
        for (int occ = 0; occ < 256; occ++) {
            ASSERT_EQ(ataque_horizontal[s][occ], rook_walk(s, rank_from_byte(s, occ)) & filas[row_of(s)])
                << s << " " << occ;
            ASSERT_EQ(ataque_vertical[s][occ], rook_walk(s, file_from_byte(s, occ)) & columnas[file_of(s)])
                << s << " " << occ;
        }
}

TEST_F(RookTables, OccupancyBytesOfAnySet) {
    std::mt19937_64 rng(11);
    for (int i = 0; i < 500; i++) {
        BitBoard occ = random_set(rng, i);
        if (occ == casillas_ocupadas) continue;
        for (int s = 0; s < 64; s++) {
            ASSERT_EQ(ocupacion_horizontal(s, occ), rank_byte(s, occ)) << s << " " << occ;
            ASSERT_EQ(ocupacion_vertical(s, occ), file_byte(s, occ)) << s << " " << occ;
        }
    }
}

TEST_F(RookTables, RookAttacksOfAnySetMatchARayWalk) {
    std::mt19937_64 rng(3);
    for (int i = 0; i < 1000; i++) {
        BitBoard occ = random_set(rng, i);
        for (int s = 0; s < 64; s++) ASSERT_EQ(rook_attacks(s, occ), rook_walk(s, occ)) << s << " " << occ;
    }
}

// The current occupancy is recognised and its file bytes read from the kept
// rotated set, which must therefore agree with the ordinary one.
TEST(CurrentOccupancy, KeptRotatedSetAgreesAfterEverySetUp) {
    std::mt19937 rng(5);
    for (int i = 0; i < 100; i++) {
        random_position(rng, i % 31);
        const BitBoard occ = occupied_by_arrays();
        ASSERT_EQ(casillas_ocupadas, occ);
        ASSERT_EQ(casillas_ocupadas_90R, rotate_by_coordinates(occ));
        ASSERT_EQ(PopCnt(casillas_ocupadas_90R), PopCnt(casillas_ocupadas));
        for (int s = 0; s < 64; s++) {
            ASSERT_EQ(ocupacion_vertical(s, casillas_ocupadas), file_byte(s, occ)) << i << " " << s;
            ASSERT_EQ(rook_attacks(s, casillas_ocupadas), rook_walk(s, occ)) << i << " " << s;
        }
    }
}

TEST(CurrentOccupancy, RookOnA1InTheStartPositionSeesB1AndA2) {
    init();
    const int a1 = sq("a1");
    EXPECT_EQ(ocupacion_horizontal(a1, casillas_ocupadas), 255);
    EXPECT_EQ(ataque_horizontal[a1][255], squares("b1"));
    EXPECT_EQ(ocupacion_vertical(a1, casillas_ocupadas), 195);   // rows 0, 1, 6 and 7
    EXPECT_EQ(ataque_vertical[a1][195], squares("a2"));
    EXPECT_EQ(rook_attacks(a1, casillas_ocupadas), squares("b1 a2"));
}

TEST(CurrentOccupancy, RookOnD4OnAnEmptyBoardAndBehindABlocker) {
    ASSERT_EQ(process_fen("k7/8/8/8/3R4/8/8/7K w - - 0 1"), 1);
    const int d4 = sq("d4");
    EXPECT_EQ(rook_attacks(d4, casillas_ocupadas),
              squares("d8 d7 d6 d5 d3 d2 d1 a4 b4 c4 e4 f4 g4 h4"));
    ASSERT_EQ(process_fen("k7/3p4/8/8/3R4/8/8/7K w - - 0 1"), 1);
    EXPECT_EQ(rook_attacks(d4, casillas_ocupadas) & columnas[3], squares("d7 d6 d5 d3 d2 d1"));
    // The same occupancy given as a set of its own, not the current one.
    EXPECT_EQ(rook_attacks(d4, squares("d4 d7")), squares("d7 d6 d5 d3 d2 d1 a4 b4 c4 e4 f4 g4 h4"));
}
