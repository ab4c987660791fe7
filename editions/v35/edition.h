// editions/v35/edition.h: the sizes and codes in which edition 3.5 differs
// from the older editions; the shared modules read them from here.
#pragma once

constexpr int EDITION_MAX_GAME = 2048;   // half-moves in the game record
constexpr int EDITION_MAX_PLY = 64;   // undo records and move-list bounds per search line

// Castling rights in `castle`.
constexpr int CASTLE_LIGHT_SHORT = 2, CASTLE_LIGHT_LONG = 1;
constexpr int CASTLE_DARK_SHORT = 8, CASTLE_DARK_LONG = 4;

// Transposition table: entries, and the modulus of the slot rule.
constexpr int HASH_SIZE = 524287;
constexpr unsigned long long HASH_MODULUS = 524277;

// The aspiration window of the first search of a run: (-INITIAL_WINDOW,
// INITIAL_WINDOW); after a completed iteration: the score plus or minus ventana.
constexpr int INITIAL_WINDOW = 150;
constexpr int ventana = 25;

// Move ordering: after SORT_FULL_POSITIONS positions of a list (0: never)
// only moves scoring above 999 are still looked for; only_one looks at
// lists of at most ONLY_ONE_MAX_MOVES moves; the principal-variation move
// gains PV_BONUS.
constexpr int SORT_FULL_POSITIONS = 10;
constexpr int ONLY_ONE_MAX_MOVES = 6;
constexpr int PV_BONUS = 200000;
