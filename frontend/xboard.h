// frontend/xboard.h: the engine side of the XBoard protocol, entered from
// the console word "xboard": one command line at a time, the engine's moves
// as "move" lines, the interface's moves in coordinate notation.
// Editions: 3.5, 3.0, 2.3
#pragma once

// Editions that read lines as C strings (XBOARD_WHOLE_LINES false) take a
// longer line in pieces of XBOARD_LINE_SIZE - 1 characters.
constexpr int XBOARD_LINE_SIZE = 256;

void xboard();   // runs until "quit" or the end of input
