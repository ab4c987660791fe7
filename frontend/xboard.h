// frontend/xboard.h: the engine side of the XBoard protocol, entered from
// the console word "xboard": one command line at a time, the engine's moves
// as "move" lines, the interface's moves in coordinate notation.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <cstdint>
#include <string>

// Editions that read lines as C strings (XBOARD_WHOLE_LINES false) take a
// longer line in pieces of XBOARD_LINE_SIZE - 1 characters.
constexpr int XBOARD_LINE_SIZE = 256;

// The clock the interface keeps: "level" gives the moves per session and
// the increment, "time" and "otim" the clocks (total_time, op_time). While
// on_clock, every search runs on a budget in milliseconds: the edition's
// clock rule, never more than UCI mode's hard limit of the same clock.
// The main thread's alone (the front end's state; no search thread reads it).
extern bool on_clock;            // clocks came since the last "st" or "sd"
extern long moves_per_session;   // moves to each time control; 0: the whole game
extern std::int64_t increment_ms;   // added to the clock after each move

void xboard();   // runs until "quit" or the end of input
// "level MPS BASE INC" (BASE in minutes or minutes:seconds, INC in seconds,
// fractions too); false, with nothing changed, when it is not one.
bool read_level(const std::string& rest);
std::int64_t clock_budget_ms();   // the budget of the side to move's next search
