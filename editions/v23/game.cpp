// editions/v23/game.cpp: keys, repetition stack and new game of edition 2.3.
#include "editions/v23/game.h"
#include "board/position.h"
#include "editions/v23/key_random.h"
#include <cstring>

constinit thread_local uint64_t index_key{}, check_key{};
constinit thread_local uint64_t rep_stack[REPETITION_STACK]{};
constinit thread_local int rep_count{};
int search_count;

man_keys piece_keys[64][2][6];

namespace {

bool keys_filled = false;   // shared, set once with the piece keys

// Four successive values of the key generator, 16 bits each, highest first.
uint64_t random_key() {
    uint64_t k = 0;
    for (int i = 0; i < 4; i++) k = k << 16 | uint64_t(key_random() & 0xFFFF);
    return k;
}

constexpr int START_PIECES[8] = {ROOK, KNIGHT, BISHOP, QUEEN, KING, BISHOP, KNIGHT, ROOK};

// All index keys, then all check keys.
void init_keys() {
    for (auto& sq : piece_keys)
        for (auto& c : sq)
            for (man_keys& k : c) k.index = random_key();
    for (auto& sq : piece_keys)
        for (auto& c : sq)
            for (man_keys& k : c) k.check = random_key();
    keys_filled = true;
}

}  // namespace

void draw_start_up_keys() {
    // The keys were always drawn from a generator seeded with 1 at start-up.
    constexpr unsigned START_UP_SEED = 1;
    if (keys_filled) return;
    seed_key_random(START_UP_SEED);
    init_keys();
}

void new_game() {
    draw_start_up_keys();
    for (int s = 0; s < 64; s++) color[s] = piece[s] = EMPTY;
    for (int f = 0; f < 8; f++) {
        piece[f] = piece[56 + f] = START_PIECES[f];
        piece[8 + f] = piece[48 + f] = PAWN;
        color[f] = color[8 + f] = DARK;
        color[48 + f] = color[56 + f] = LIGHT;
    }
    side = LIGHT;
    xside = DARK;
    castle = 15;
    ep = -1;
    fifty = 0;
    ply = 0;
    clear_game_record();
    gen_begin[0] = 0;
    light_king_sq = E1;
    dark_king_sq = E8;
    rep_count = 0;
    search_count = 0;
    index_key = check_key = 0;
}

// The initial position: this edition sets it up directly, not from a FEN.
void init() { new_game(); }

static_assert(REPETITION_KEPT >= MAX_GAME && REPETITION_KEPT + MAX_PLY <= REPETITION_STACK);

void drop_older_keys() {
    std::memmove(rep_stack, rep_stack + (rep_count - REPETITION_KEPT), REPETITION_KEPT * sizeof(uint64_t));
    rep_count = REPETITION_KEPT;
}

int repetition() {
    if (rep_count < 20) return 0;
    const uint64_t latest = rep_stack[rep_count - 1];
    for (int i = rep_count - 15; i < rep_count - 1; i++)
        if (rep_stack[i] == latest) return 1;
    return 0;
}
