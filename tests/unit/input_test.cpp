// Numbers as the console reads them: 64-bit in every build, so that a clock
// in milliseconds past 2^31 is kept whole.
#include <gtest/gtest.h>
#include "frontend/input.h"
#include <cstdint>
#include <string>

TEST(InputNumber, KeepsNumbersPast32BitsAndSaturatesBeyond64) {
    use_input_text("3000000000 -3000000000 99999999999999999999 12ab");
    std::int64_t n = 0;
    ASSERT_TRUE(read_number(&n));
    EXPECT_EQ(n, INT64_C(3000000000));
    ASSERT_TRUE(read_number(&n));
    EXPECT_EQ(n, -INT64_C(3000000000));
    ASSERT_TRUE(read_number(&n));
    EXPECT_EQ(n, INT64_MAX);
    ASSERT_TRUE(read_number(&n));
    EXPECT_EQ(n, 12);
    EXPECT_EQ(clamp_to(INT64_C(3000000000), 1, MAX_TIME_SECONDS), MAX_TIME_SECONDS);
    std::string rest;
    EXPECT_FALSE(read_number(&n));   // "ab" is given back whole
    ASSERT_TRUE(read_word(rest));
    EXPECT_EQ(rest, "ab");
    use_standard_input();
}
