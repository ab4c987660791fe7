// editions/v23/game.h: edition 2.3's game state beside the board arrays: its
// two position keys, the repetition stack, the search counter, a new game.
// Editions: 2.3.
#pragma once
#include <cstdint>

constexpr int REPETITION_STACK = 600;   // keys of the game and the current line
// What a full stack keeps: its later half, more than the game record holds
// (so every take-back finds its key) and more than the 20 keys the
// repetition test needs before it reads the last 15.
constexpr int REPETITION_KEPT = REPETITION_STACK / 2;
// Transposition-table slots at the default size (the index key modulo the
// slot count, a power of two, is the slot); the fuzz build holds every size
// to this small table, cleared at once.
#ifdef ZORVU_SMALL_TABLES
constexpr long TT_SLOTS = 1024;
#else
constexpr long TT_SLOTS = 262144;       // 2^18, in 8 MB
#endif

// Edition 2.3's globals and the threads of a search (search/threads.h):
// shared and written: search_count (tree_surf adds one on the main thread
// before the helpers start; they only read it) and the table (table.h);
// shared, built once at start-up: the piece keys, drawn on the main thread
// from the key generator (key_random.h) before any helper exists; per thread: the
// position's keys, the repetition stack, the move ordering (search23.h)
// and the table's counters; the main thread's alone: none of this
// edition's own (the book and the front end keep theirs). The other files
// of the edition hold constants only.
extern constinit thread_local uint64_t index_key;   // picks the transposition-table slot
extern constinit thread_local uint64_t check_key;   // confirms the entry belongs to the position
extern constinit thread_local uint64_t rep_stack[REPETITION_STACK];
extern constinit thread_local int rep_count;        // keys on the stack
extern int search_count;     // searches since the new game: the table's age, and the null-move limit

// The two keys of a man of each colour and kind on each square, side by
// side so that a move reads both from one cache line.
struct man_keys {
    uint64_t index, check;
};
extern man_keys piece_keys[64][2][6];   // [square][colour][kind]

// The piece keys a new run draws from the generator seeded with 1: drawn
// once, as they never change.
void draw_start_up_keys();
// A man of colour c and kind p put on or taken off sq.
inline void toggle_man(int sq, int c, int p) {
    const man_keys& k = piece_keys[sq][c][p];
    index_key ^= k.index ^ uint64_t(c);
    check_key ^= k.check ^ uint64_t(c);
}
void new_game();                     // initial position, empty record and stack, keys 0
int  repetition();                   // 1 when the latest key repeats one of the 14 before it
// At least `keys` free places on the repetition stack (a full one drops its
// older half). A search makes room first for all it may push, so that no
// key moves while it runs.
void drop_older_keys();   // the stack keeps its later REPETITION_KEPT keys
inline void keep_room_on_stack(int keys) {
    if (rep_count + keys > REPETITION_STACK) drop_older_keys();
}
