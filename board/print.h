// board/print.h: moves in coordinate notation, the board diagram with
// Spanish piece letters, and the numbered game record.
// Editions: 3.5, 3.0, 2.3.
#pragma once
#include "board/position.h"

void print_move(move_bytes m);   // e2e4, e7e8q; no newline
void print_board();
void print_game();
