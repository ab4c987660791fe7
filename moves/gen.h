// moves/gen.h: pseudo-legal move generation driven by the attack maps of both
// sides, every move scored as it is appended: all moves (Move2Gen) or, for
// the quiescence search, the captures and promotions worth trying (Caps2Gen).
// Editions: 3.5, 3.0, 2.3; implemented by moves/gen.cpp (3.5), editions/v30/gen.cpp (3.0) and
// editions/v23/gen.cpp (2.3).
#pragma once

extern int ichk;       // 1 when the side to move is in check
extern int atfactor;   // value of the most valuable man the generated captures take

void Move2Gen();
// Captures and promotions of the side to move. `score` is an optimistic
// estimate of the position, `bound` the search bound it must reach; captures
// that cannot reach it are left out.
void Caps2Gen(int score, int bound);
