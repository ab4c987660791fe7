// frontend/main.cpp: the program of every edition (zorvu35, zorvu30 and
// zorvu are each built from it with their edition's library). Without
// arguments it is the console (and from there XBoard or UCI); "bench
// [depth [threads]]" runs the edition's search signature (on one thread;
// with more the nodes of every thread), as test frameworks expect of an
// engine, and ends with the line "<nodes> nodes <nps> nps".
#include "bench/run.h"
#include "frontend/console.h"
#include "search/threads.h"
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int EXIT_USAGE = 2;

int usage(const char* program, const char* problem, const char* word) {
    std::fprintf(stderr, "%s: %s '%s'\n", program, problem, word);
    std::fprintf(stderr, "usage: %s            (console, XBoard or UCI on standard input)\n", program);
    std::fprintf(stderr, "       %s bench [depth [threads]]  (search signature; depth 1 to %d, default %d;\n", program,
                 BENCH_MAX_DEPTH, BENCH_DEFAULT_DEPTH);
    std::fprintf(stderr, "       threads 1 to %d, default 1)\n", MAX_SEARCH_THREADS);
    return EXIT_USAGE;
}

int bench_main(int argc, char** argv) {
    int depth = BENCH_DEFAULT_DEPTH, threads = 1;
    if (argc > 4) return usage(argv[0], "too many arguments after bench:", argv[4]);
    if (argc >= 3 && !bench_read_depth(argv[2], &depth)) return usage(argv[0], "bad bench depth", argv[2]);
    if (argc == 4 && !bench_read_threads(argv[3], &threads)) return usage(argv[0], "bad bench thread count", argv[3]);
    double seconds;
    const std::int64_t nodes = bench_run(depth, false, threads, &seconds);
    if (nodes < 0) return 1;
    const std::int64_t nps = seconds > 0 ? std::llround(double(nodes) / seconds) : 0;
    std::printf("%" PRId64 " nodes %" PRId64 " nps\n", nodes, nps);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 1) return console_main();
    if (std::strcmp(argv[1], "bench") == 0) return bench_main(argc, argv);
    return usage(argv[0], "unknown argument", argv[1]);
}
