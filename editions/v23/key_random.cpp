// editions/v23/key_random.cpp: the additive generator of the piece keys.
#include "editions/v23/key_random.h"

namespace {

constexpr int LONG_LAG = 31;    // x[i] = x[i - 31] + x[i - 3], modulo 2^32
constexpr int SHORT_LAG = 3;
constexpr int HISTORY = LONG_LAG + SHORT_LAG;   // values kept: enough for both lags
constexpr int DISCARDED = 310;                  // values drawn and thrown away after seeding
constexpr int64_t SEED_MODULUS = 2147483647;    // 2^31 - 1, of the seeding generator
constexpr int64_t SEED_MULTIPLIER = 16807;

uint32_t history[HISTORY];   // the last HISTORY values, x[i] at i modulo HISTORY
int next_index;              // i of the next value

uint32_t step() {
    const int i = next_index++ % HISTORY;
    history[i] = history[(i + HISTORY - LONG_LAG) % HISTORY] + history[(i + HISTORY - SHORT_LAG) % HISTORY];
    return history[i];
}

}  // namespace

void seed_key_random(uint32_t seed) {
    // x[0] is the seed (0 counts as 1); x[1] to x[30] follow from it by the
    // multiplicative generator; x[31] to x[33] repeat x[0] to x[2].
    int64_t x = seed == 0 ? 1 : int64_t(int32_t(seed));
    history[0] = uint32_t(x);
    for (int i = 1; i < LONG_LAG; i++) {
        x = x * SEED_MULTIPLIER % SEED_MODULUS;
        if (x < 0) x += SEED_MODULUS;
        history[i] = uint32_t(x);
    }
    for (int i = LONG_LAG; i < HISTORY; i++) history[i] = history[i - LONG_LAG];
    next_index = HISTORY;
    for (int i = 0; i < DISCARDED; i++) step();
}

int key_random() { return int(step() >> 1); }
