// editions/v23/frontends23.h: the two front ends of edition 2.3 — the console
// loop (console_main, declared in frontend/console.h) and the XBoard loop —
// and the pieces of game handling they share.
#pragma once
#include <string>


// The letters that pick an under-promotion, in the generator's order
// knight, bishop, rook; any other fifth character keeps the queen.
struct promotion_letters {
    char knight, bishop, rook;
};
constexpr promotion_letters CONSOLE_LETTERS{'N', 'B', 'R'};
constexpr promotion_letters XBOARD_LETTERS{'n', 'b', 'r'};

// Index in ply 0's list of the move a coordinate word names, or -1.
int find_move23(const std::string& word, promotion_letters letters);

// The move just made at ply 0 joins the game record (first the book, when
// "ab" marked a position), and the next position's moves are generated.
void record_move23();
void take_back23();   // the last recorded move, without generating the moves
void clear_statistics23();   // table hits and misses, counters, branching counts
void print_statistics23();   // the block after "Computer's move: " and the move

// The console's steps; its "ab" mark is book_mark of frontend/console.h.
void console_command23(const std::string& word);   // one word at the prompt (not "bye" or "xboard")
void move_entry23(const std::string& word);
void engine_reply23();   // the engine searches, prints its statistics block and plays

void xboard23();   // runs until "quit" or the end of input
