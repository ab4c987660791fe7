// moves/gen.h: pseudo-legal move generation driven by the attack maps of both
// sides, every move scored as it is appended: all moves (Move2Gen) or, for
// the quiescence search, the captures and promotions worth trying (Caps2Gen).
// Editions: 3.5, 3.0, 2.3; Move2Gen is implemented by moves/gen.cpp (3.5),
// editions/v30/gen.cpp (3.0) and editions/v23/gen.cpp (2.3); ichk, atfactor
// and Caps2Gen are 3.5's alone (3.0 captures with CapsGen of
// editions/v30/gen.h, 2.3 with gen_captures of editions/v23/moves23.h).
#pragma once

// Per thread: each search thread has its own.
extern constinit thread_local int ichk;       // 1 when the side to move is in check
extern constinit thread_local int atfactor;   // value of the most valuable man the generated captures take

void Move2Gen();
// Captures and promotions of the side to move. `score` is an optimistic
// estimate of the position, `bound` the search bound it must reach; captures
// that cannot reach it are left out.
void Caps2Gen(int score, int bound);
