// editions/v35/edition.h: the sizes and codes in which edition 3.5 differs
// from the older editions; the shared modules read them from here.
// Editions: 3.5; 3.0 and 2.3 read editions/v30/edition.h and editions/v23/edition.h.
#pragma once

constexpr int EDITION_MAX_GAME = 2048;   // half-moves in the game record
constexpr int EDITION_MAX_PLY = 64;   // undo records and move-list bounds per search line

// Castling rights in `castle`.
constexpr int CASTLE_LIGHT_SHORT = 2, CASTLE_LIGHT_LONG = 1;
constexpr int CASTLE_DARK_SHORT = 8, CASTLE_DARK_LONG = 4;

// Transposition table: its size in megabytes unless told otherwise (UCI's
// Hash), and the entries and slot modulus of a table of that size (any size
// is sized by hash/table.h's rule). The fuzz build keeps the rule over a
// small table, whatever size is asked, which a set-up clears at once.
constexpr long EDITION_HASH_MB = 16;
#ifdef ZORVU_SMALL_TABLES
constexpr int HASH_SIZE = 4103;
constexpr unsigned long long HASH_MODULUS = 4093;
#else
constexpr int HASH_SIZE = 524287;
constexpr unsigned long long HASH_MODULUS = 524277;
#endif

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

// The mark in hist_rec::castle of an undo record that holds a null move: a
// bit beside the castling rights, which the record keeps.
constexpr int NULL_MARK = 0x80;

// What the slots of the chash counters (the "Counters" line) count here.
enum chash_slot : int {
    CHASH_NULL_CUTOFF = 0,      // null moves that cut off
    CHASH_HASH_MOVE = 1,        // generated moves found to be the table's best move
    CHASH_RAZOR = 4,            // nodes near the leaves cut off by a quiescence search
    CHASH_LOSING_CAPTURE = 10,  // quiescence captures skipped as losing material
    CHASH_FUTILE_CAPTURE = 11,  // quiescence captures skipped as unable to reach alpha
};
