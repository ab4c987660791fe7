// editions/v23/key_random.h: the generator edition 2.3 draws its piece keys
// from. The keys were always the C library's rand() after srand(1), and the
// table, the search and so the bench's node count follow from them; a C
// library of another kind (the browser build's) gives other numbers. This is
// that same additive generator (lags 3 and 31, seeded through a
// multiplicative one), so that every build draws the very same keys.
// Editions: 2.3.
#pragma once
#include <cstdint>

constexpr int KEY_RANDOM_MAX = 2147483647;   // the largest value drawn

// The main thread's alone, used at start-up before any helper exists.
void seed_key_random(uint32_t seed);   // as srand(seed)
int  key_random();                     // as rand(): 0 to KEY_RANDOM_MAX
