// editions/v23/moves23.h: edition 2.3's mailbox move generation. Move2Gen
// (moves/gen.h) generates every move of the side to move at `ply`; makemove,
// takeback and the null move are those of moves/make.h; attack and in_check
// those of moves/attack.h, answered from the board arrays.
// Editions: 2.3.
#pragma once

void gen_captures();   // the capturing moves of the same walk, for the quiescence search
