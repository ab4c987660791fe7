// editions/v35/edition.h: the sizes and codes in which edition 3.5 differs
// from the older editions; the shared modules read them from here.
#pragma once

constexpr int EDITION_MAX_PLY = 64;   // undo records and move-list bounds per search line

// Castling rights in `castle`.
constexpr int CASTLE_LIGHT_SHORT = 2, CASTLE_LIGHT_LONG = 1;
constexpr int CASTLE_DARK_SHORT = 8, CASTLE_DARK_LONG = 4;
