// moves/make.h: playing a move on the global position and taking it back.
#pragma once
#include "bitboard/bitboard.h"
#include "board/position.h"

extern BitBoard team_moving;   // the men of the side to move after the last make or take-back

int  makemove(move_bytes m);   // 1 when made; 0 when it left the mover's king attacked (already taken back)
void takeback();               // undoes the move recorded at ply - 1
int  makenullmove();           // 1 when made; 0 where a null move is not allowed
void unmakenullmove();
int  key_search();             // 1 when the current position repeats
