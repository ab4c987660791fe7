// bench/run.h: an edition's search signature, the fixed-depth searches of a
// fixed set of positions and the sum of their node counts. The bench tool
// (PROGRAM-bench) and the programs' "bench" argument both run it.
// Editions: 3.5, 3.0, 2.3.
#pragma once
#include "search/state.h"

constexpr int BENCH_DEFAULT_DEPTH = 4;
// Endgames are searched this many plies deeper than the given depth: their
// trees are narrow, and the extra plies bring promotions, pawn races and the
// transposition table's bounds within reach.
constexpr int BENCH_ENDGAME_PLIES = 3;
constexpr int BENCH_MAX_DEPTH = MAX_ITERATION - BENCH_ENDGAME_PLIES;

// Reads a depth from 1 to BENCH_MAX_DEPTH written in decimal digits alone.
bool bench_read_depth(const char* text, int* depth);
// Reads a thread count from 1 to MAX_SEARCH_THREADS, the same way.
bool bench_read_threads(const char* text, int* threads);

// Searches every position (last to first when reversed) on `threads`
// threads, printing a line per position: its number, its nodes (every
// thread's) and the move found. Returns the total of the nodes (at one
// thread the signature) and sets *seconds to the time the searches took;
// -1 when a position is refused or standard output cannot be silenced
// (said on stderr). The program is left with one thread.
std::int64_t bench_run(int depth, bool reverse, int threads, double* seconds);
