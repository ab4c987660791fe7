// bench/eval_speed.cpp: evaluations per second over every position of a
// three-ply tree from a few set-up positions. The hash tables are cleared
// at each set-up, so the pawn and material tables fill as in a search.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include "moves/gen.h"
#include "moves/make.h"
#include <chrono>
#include <cstdio>

namespace {

const char* const POSITIONS[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
    "6k1/5ppp/8/8/8/2N5/1B3PPP/3R2K1 w - - 0 1",
};

long evaluations;
long checksum;   // keeps the compiler from dropping the calls

void walk(int depth) {
    if (depth == 0) {
        checksum += eval(-10000, 10000);
        evaluations++;
        return;
    }
    Move2Gen();
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        walk(depth - 1);
        takeback();
    }
}

}  // namespace

int main() {
    double seconds = 0;
    long hits = 0, probes = 0;
    for (const char* fen : POSITIONS) {
        process_fen(fen);
        is_endgame = endgame();
        hp_impacts = hp_nofound = hm_impacts = hm_nofound = 0;
        const long before = evaluations;
        const auto start = std::chrono::steady_clock::now();
        walk(3);
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        seconds += spent.count();
        hits += hp_impacts + hm_impacts;
        probes += hp_impacts + hp_nofound + hm_impacts + hm_nofound;
        std::printf("%-75s %8ld evals\n", fen, evaluations - before);
    }
    std::printf("\n%ld evaluations in %.3f s (with generation and make/take back): %.0f per second\n",
                evaluations, seconds, evaluations / seconds);
    std::printf("pawn and material table hits: %ld of %ld probes (checksum %ld)\n", hits, probes, checksum);
    return 0;
}
