// search/driver.h: iterative deepening with an aspiration window, the time
// budget and the clock, the book at the root, and the summary line.
#pragma once

constexpr int ventana = 25;          // half-width of the window after a completed iteration
constexpr int MAX_ITERATION = 20;

extern int max_time;                 // seconds per search
extern int max_depth;                // iteration limit
extern long total_time, op_time;     // the clocks XBoard last sent, in centiseconds
extern int start_time, stop_time;    // milliseconds of get_ms
extern int mdpth;                    // depth of the current iteration
extern int eval_global;              // score of the last completed iteration
extern int minki, maxkf;             // the aspiration window, kept from search to search
extern int stop_search;              // the search ended by a jump out of it (or the book answered)
extern int silencio;                 // the current search prints nothing of its own
extern int book_on;                  // the next search may take a book move

void tree_surf(int silent);          // searches the position; the move is var_princ.moves[0]
void tree_surf_time(long op_time, long own_time);   // sets max_time from the two clocks
int  get_ms();                       // wall clock in milliseconds, modulo 2^32
int  time_is_up();                   // get_ms() has reached stop_time (across the wrap too)
