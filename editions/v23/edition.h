// editions/v23/edition.h: the sizes and codes of edition 2.3 that the shared
// modules read.
// Editions: 2.3; 3.5 and 3.0 read editions/v35/edition.h and editions/v30/edition.h.
#pragma once

constexpr int EDITION_MAX_GAME = 300;   // half-moves in the game record
constexpr int EDITION_MAX_PLY = 32;     // undo records and move-list bounds per search line

// Castling rights in `castle`, as in edition 3.0.
constexpr int CASTLE_LIGHT_SHORT = 1, CASTLE_LIGHT_LONG = 2;
constexpr int CASTLE_DARK_SHORT = 4, CASTLE_DARK_LONG = 8;

// The aspiration window of the first search: (-INITIAL_WINDOW, INITIAL_WINDOW);
// after a completed iteration the score plus or minus ventana.
constexpr int INITIAL_WINDOW = 11000;
constexpr int ventana = 33;

// The transposition table's size in megabytes unless told otherwise (UCI's
// Hash): the largest power of two of entries that fits (editions/v23/table.h).
constexpr long EDITION_HASH_MB = 8;

// hist_rec::castle of an undo record that holds a null move (with no capture).
constexpr int NULL_MARK = 255;

// What the slots of the chash counters (the "Counters" line) count here.
enum chash_slot : int {
    CHASH_EVAL = 0,           // evaluations
    CHASH_NULL_CUTOFF = 1,    // null moves that cut off
    CHASH_WINDOW_RESET = 2,   // root searches that failed and reopened the full window
};
