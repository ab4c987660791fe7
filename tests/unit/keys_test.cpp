// Random numbers, piece keys and the piece toggle.
#include "hash/keys.h"
#include "board/fen.h"
#include "board/position.h"
#include "hash/table.h"
#include <gtest/gtest.h>

namespace {

// Restarts the generator as at program start.
void restart_generator() { rand_started = 0; }

}  // namespace

TEST(Keys, GeneratorFollowsItsLags) {
    restart_generator();
    std::vector<uint32_t> v;
    for (int i = 0; i < 56; i++) v.push_back(uint32_t(myrand()));
    const uint32_t* x = rand_x;
    EXPECT_EQ(v[0], uint32_t(x[54] + x[23]));
    EXPECT_EQ(v[1], uint32_t(x[53] + x[22]));
    // Call 25 is the first with the short lag wrapped to 54: it adds the value of call 1.
    EXPECT_EQ(v[24], uint32_t(x[30] + v[0]));
    // Call 56 is the first with the long lag back at 54.
    const uint32_t y47 = x[47] + x[16];   // call 8
    const uint32_t y23 = x[23] + y47;     // call 32
    EXPECT_EQ(v[31], y23);
    EXPECT_EQ(v[55], uint32_t(v[0] + y23));
}

TEST(Keys, ValuesAre32BitsWide) {
    for (int i = 0; i < 1000; i++) EXPECT_EQ(myrand() >> 32, 0u);
    EXPECT_TRUE(std::any_of(rand_x, rand_x + 55, [](uint32_t v) { return v & 1; }));
}

TEST(Keys, EverySetUpDrawsFreshKeysAndZeroesPositionKeys) {
    init();
    const uint64_t first = hash_checksum[0][0][0];
    const uint64_t last = hash_checksum[63][1][5];
    EXPECT_EQ(master_checksum | master_pawn | master_material, 0u);
    init();
    EXPECT_NE(hash_checksum[0][0][0], first);
    EXPECT_NE(hash_checksum[63][1][5], last);
    for (auto& sq : hash_checksum)
        for (auto& c : sq)
            for (uint64_t k : c) EXPECT_EQ(k >> 32, 0u);
    EXPECT_EQ(master_checksum | master_pawn | master_material, 0u);
}

TEST(Keys, SetUpDrawsExactly768Values) {
    init();
    restart_generator();
    hash_init();
    const uint64_t last_drawn = hash_checksum[63][1][5];
    restart_generator();
    uint64_t v = 0;
    for (int i = 0; i < 768; i++) v = myrand();
    EXPECT_EQ(v, last_drawn);
}

TEST(Keys, PieceToggleFoldsInSideAndEnPassant) {
    init();
    const uint64_t knight = hash_checksum[62][LIGHT][KNIGHT];
    toggle_piece_key(62, LIGHT, KNIGHT);
    EXPECT_EQ(master_checksum, knight ^ 0xAAAA ^ ~0ULL);   // ep -1 widens to all ones
    EXPECT_EQ(master_material, knight);
    EXPECT_EQ(master_pawn, 0u);
    toggle_piece_key(62, LIGHT, KNIGHT);
    EXPECT_EQ(master_checksum | master_material, 0u);

    side = DARK;
    ep = 44;
    const uint64_t pawn = hash_checksum[36][DARK][PAWN];
    toggle_piece_key(36, DARK, PAWN);
    EXPECT_EQ(master_checksum, pawn ^ 0xDDDD ^ 44);
    EXPECT_EQ(master_pawn, pawn);
    EXPECT_EQ(master_material, 0u);
}

TEST(Keys, QuietMoveKeyCarriesNoSide) {
    // Off and on again with the same ep: the two side terms cancel.
    init();
    for (int s : {LIGHT, DARK}) {
        master_checksum = 0;
        side = s;
        toggle_piece_key(62, LIGHT, KNIGHT);
        toggle_piece_key(45, LIGHT, KNIGHT);
        EXPECT_EQ(master_checksum, hash_checksum[62][LIGHT][KNIGHT] ^ hash_checksum[45][LIGHT][KNIGHT]);
    }
    init();
}
