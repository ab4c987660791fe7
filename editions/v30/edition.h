// editions/v30/edition.h: the sizes and codes of edition 3.0 that the shared
// modules read.
#pragma once

constexpr int EDITION_MAX_PLY = 32;   // undo records and move-list bounds per search line

// Castling rights in `castle`: the short right is the low bit of each pair.
constexpr int CASTLE_LIGHT_SHORT = 1, CASTLE_LIGHT_LONG = 2;
constexpr int CASTLE_DARK_SHORT = 4, CASTLE_DARK_LONG = 8;
