// editions/v23/edition.h: the sizes and codes of edition 2.3 that the shared
// modules read.
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
