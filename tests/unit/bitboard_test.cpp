// Bitboard primitives: the bit-instruction forms against the plain arithmetic
// they replace, on many sets.
#include "bitboard/bitboard.h"
#include "board/position.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// The arithmetic forms, for a 32-bit processor without bit instructions.
int swar_count(uint64_t x) {
    if (!x) return 0;
    x -= (x >> 1) & 0x5555555555555555ULL;
    x = (x & 0x3333333333333333ULL) + ((x >> 2) & 0x3333333333333333ULL);
    uint32_t v = uint32_t(x) + uint32_t(x >> 32);
    v = (v & 0x0F0F0F0Fu) + ((v >> 4) & 0x0F0F0F0Fu);
    v += v >> 16;
    v += v >> 8;
    return int(v & 0xFF);
}

int clear_lowest_count(uint64_t x) {
    int n = 0;
    for (; x; x &= x - 1) n++;
    return n;
}

int arith_bbf(uint64_t b) { return swar_count((b & (0 - b)) - 1); }

int arith_bbfirst(uint64_t b) { return b ? arith_bbf(b) : -1; }

int arith_bblast(uint64_t b) {
    int r = 0;
    if (b >> 32) { b >>= 32; r += 32; }
    if (b >> 16) { b >>= 16; r += 16; }
    if (b >> 8) { b >>= 8; r += 8; }
    if (b >> 4) { b >>= 4; r += 4; }
    if (b >> 2) { b >>= 2; r += 2; }
    return r + int(b >> 1);
}

int arith_bbnext(int k, uint64_t b) {
    if (k & 64) return -1;
    b >>= k;
    return b ? k + arith_bbf(b) : -1;
}

std::vector<uint64_t> sample_sets() {
    std::vector<uint64_t> sets = {0, ~0ULL, 1, 1ULL << 63, 0x8000000000000001ULL, 0xFFFF00000000FFFFULL};
    for (int i = 0; i < 64; i++) sets.push_back(1ULL << i);
    std::mt19937_64 rng(12345);
    for (int i = 0; i < 5000; i++) {
        uint64_t b = rng();
        int sparsity = i % 4;   // dense, and ANDed down to a few members
        for (int j = 0; j < sparsity; j++) b &= rng();
        sets.push_back(b);
    }
    return sets;
}

std::string capture_stdout(void (*f)(uint64_t), uint64_t b) {
    testing::internal::CaptureStdout();
    f(b);
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

}  // namespace

TEST(Bitboard, InstructionFormsEqualArithmeticForms) {
    for (uint64_t b : sample_sets()) {
        EXPECT_EQ(BBf(b), arith_bbf(b)) << b;
        EXPECT_EQ(BBfirst(b), arith_bbfirst(b)) << b;
        EXPECT_EQ(BBlast(b), arith_bblast(b)) << b;
        EXPECT_EQ(BitCount(b), swar_count(b)) << b;
        EXPECT_EQ(PopCnt(b), clear_lowest_count(b)) << b;
        for (int k : {0, 1, 5, 31, 32, 33, 62, 63, 64, 100})
            EXPECT_EQ(BBnext(k, b), arith_bbnext(k, b)) << b << " from " << k;
    }
}

TEST(Bitboard, EmptySetConventions) {
    EXPECT_EQ(BBf(0), 64);
    EXPECT_EQ(BBfirst(0), -1);
    EXPECT_EQ(BBlast(0), 0);
    EXPECT_EQ(BBnext(0, 0), -1);
    EXPECT_EQ(BitCount(0), 0);
    EXPECT_EQ(PopCnt(0), 0);
    EXPECT_EQ(BitCount(~0ULL), 64);
    EXPECT_EQ(PopCnt(~0ULL), 64);
}

TEST(Bitboard, EdgeSquaresAndNextBit) {
    EXPECT_EQ(BBf(1ULL << 63), 63);
    EXPECT_EQ(BBf(1), 0);
    EXPECT_EQ(BBlast((1ULL << 3) | (1ULL << 40)), 40);
    EXPECT_EQ(BBnext(64, ~0ULL), -1);
    EXPECT_EQ(BBnext(200, ~0ULL), -1);   // any start off the board
    EXPECT_EQ(BBnext(5, 1ULL << 5), 5);
    EXPECT_EQ(BBnext(6, 1ULL << 5), -1);
}

TEST(Bitboard, PrintoutIsEightRowsFromA8) {
    std::string a8 = capture_stdout(muestra_BitBoard, 1);
    std::string expected = " 1 0 0 0 0 0 0 0\n";
    for (int r = 0; r < 7; r++) expected += " 0 0 0 0 0 0 0 0\n";
    EXPECT_EQ(a8, expected);
    std::string h1 = capture_stdout(muestra_BitBoard, 1ULL << 63);
    EXPECT_EQ(h1.substr(h1.size() - 17), " 0 0 0 0 0 0 0 1\n");
}
