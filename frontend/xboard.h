// frontend/xboard.h: the engine side of the XBoard protocol, entered from
// the console word "xboard": one command line at a time, the engine's moves
// as "move" lines, the interface's moves in coordinate notation.
#pragma once

constexpr int XBOARD_LINE_SIZE = 256;   // a longer line is handled in pieces of 255 characters
constexpr int XBOARD_FIELD_SIZE = 64;   // one "setboard" field, 63 characters

void xboard();   // runs until "quit" or the end of input
