// editions/v30/edition.h: the sizes and codes of edition 3.0 that the shared
// modules read.
// Editions: 3.0; 3.5 and 2.3 read editions/v35/edition.h and editions/v23/edition.h.
#pragma once

constexpr int EDITION_MAX_GAME = 2048;   // half-moves in the game record
constexpr int EDITION_MAX_PLY = 32;   // undo records and move-list bounds per search line

// Castling rights in `castle`: the short right is the low bit of each pair.
constexpr int CASTLE_LIGHT_SHORT = 1, CASTLE_LIGHT_LONG = 2;
constexpr int CASTLE_DARK_SHORT = 4, CASTLE_DARK_LONG = 8;

// Transposition table: its size in megabytes unless told otherwise (UCI's
// Hash), and the entries and slot modulus of a table of that size (any size
// is sized by hash/table.h's rule). The fuzz build keeps the rule over a
// small table, whatever size is asked, which a set-up clears at once.
constexpr long EDITION_HASH_MB = 8;
#ifdef ZORVU_SMALL_TABLES
constexpr int HASH_SIZE = 4103;
constexpr unsigned long long HASH_MODULUS = 4093;
#else
constexpr int HASH_SIZE = 262143;
constexpr unsigned long long HASH_MODULUS = 262133;
#endif

// The aspiration window of the first search of a run: (-INITIAL_WINDOW,
// INITIAL_WINDOW); after a completed iteration: the score plus or minus ventana.
constexpr int INITIAL_WINDOW = 200;
constexpr int ventana = 50;

// Move ordering: after SORT_FULL_POSITIONS positions of a list (0: never)
// only moves scoring above 999 are still looked for; only_one looks at
// lists of at most ONLY_ONE_MAX_MOVES moves; the principal-variation move
// gains PV_BONUS.
constexpr int SORT_FULL_POSITIONS = 0;
constexpr int ONLY_ONE_MAX_MOVES = 8;
constexpr int PV_BONUS = 500000;

// hist_rec::castle of an undo record that holds a null move (the rights are
// not kept there).
constexpr int NULL_MARK = 0x80;

// What the slots of the chash counters (the "Counters" line) count here.
enum chash_slot : int {
    CHASH_EVALS_AND_NULL_CUTOFFS = 0,   // evaluations and null moves that cut off, together
    CHASH_HASH_MOVE = 1,                // generated moves found to be the table's best move
    CHASH_FUTILE_CAPTURE = 11,          // quiescence captures skipped as unable to reach alpha
};
