// moves/make.h: playing a move on the global position and taking it back.
// Editions: 3.5, 3.0, 2.3; implemented by moves/make.cpp (3.5), editions/v30/make.cpp (3.0) and
// editions/v23/make.cpp (2.3).
#pragma once
#include "bitboard/bitboard.h"
#include "board/position.h"

// Per thread: each search thread has its own.
extern constinit thread_local BitBoard team_moving;   // the men of the side to move after the last make or take-back

int  makemove(move_bytes m);   // 1 when made; 0 when it left the mover's king attacked (already taken back)
void takeback();               // undoes the move recorded at ply - 1
int  makenullmove();           // 1 when made; 0 where a null move is not allowed
void unmakenullmove();
int  key_search();             // 1 when the current position repeats
