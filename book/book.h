// book/book.h: the opening book, a text file open.dat in the working
// directory: one line per position key and side, "<key> /<side>/<from>,<to>/...".
// It has no state in memory: each lookup and each addition reads the file.
// Editions: 3.5, 3.0, 2.3.
#pragma once
#include "board/position.h"

constexpr const char* BOOK_FILE = "open.dat";
constexpr const char* BOOK_TEMP_FILE = "open.tmp";
constexpr int BOOK_MAX_ENTRIES = 10;   // entries of one line held for the choice
constexpr int BOOK_PLY_LIMIT = 24;     // the book answers while fewer half-moves than this are recorded

struct book_entry {
    int from, to;
};

// 1 when the book holds a playable move for `side` in the current position;
// it becomes var_princ.moves[0]. Needs ply 0's move list to be current.
int book_move(int side);
// Appends from-to to the line of key and side (creating the line), by
// rewriting the book through open.tmp.
void addbook(const char* key, int from, int to, int side);
// The entries of a line's move list ("/0/52,36/51,35/") that a lookup offers.
int book_entries(const char* moves, book_entry* out);
int book_move_bits(int from, int to);   // the flags of a book move, from the board
