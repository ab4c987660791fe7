// bench/signature.cpp: the bench tool, an edition's search signature
// (bench/run.cpp) with its total, time and speed.
// Usage: PROGRAM-bench [depth] [--reverse] [--threads N] [--expect N]
//   --reverse    searches the positions last to first (the counts must not change)
//   --threads N  searches on N threads: the total is then every thread's nodes, not the signature
//   --expect N   exits 1, naming both values, when the total is not N
#include "bench/run.h"
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct options {
    int depth = BENCH_DEFAULT_DEPTH;
    bool reverse = false;
    int threads = 1;
    bool expect = false;
    std::int64_t expected = 0;
};

bool parse_number(const char* text, std::int64_t low, std::int64_t high, std::int64_t* value) {
    char* end;
    *value = std::strtoll(text, &end, 10);
    return *text != '\0' && *end == '\0' && *value >= low && *value <= high;
}

bool parse_options(int argc, char** argv, options* o) {
    std::int64_t n;
    for (int i = 1; i < argc; i++) {
        if (std::strcmp(argv[i], "--reverse") == 0) {
            o->reverse = true;
        } else if (std::strcmp(argv[i], "--expect") == 0 && i + 1 < argc && parse_number(argv[i + 1], 0, INT64_MAX, &n)) {
            o->expect = true;
            o->expected = n;
            i++;
        } else if (std::strcmp(argv[i], "--threads") == 0 && i + 1 < argc && bench_read_threads(argv[i + 1], &o->threads)) {
            i++;
        } else if (!bench_read_depth(argv[i], &o->depth)) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    options o;
    if (!parse_options(argc, argv, &o)) {
        std::fprintf(stderr, "usage: %s [depth 1 to %d] [--reverse] [--threads N] [--expect N]\n", argv[0], BENCH_MAX_DEPTH);
        return 2;
    }
    double seconds;
    const std::int64_t total = bench_run(o.depth, o.reverse, o.threads, &seconds);
    if (total < 0) return 1;
    if (o.threads == 1) std::printf("signature: %" PRId64 "\n", total);
    else std::printf("nodes on %d threads: %" PRId64 "\n", o.threads, total);
    std::printf("time: %.3f s\n", seconds);
    std::printf("nodes/s: %.0f\n", seconds > 0 ? double(total) / seconds : 0.0);
    if (o.expect && total != o.expected) {
        std::fprintf(stderr, "signature %" PRId64 " at depth %d, expected %" PRId64 "\n", total, o.depth, o.expected);
        return 1;
    }
    return 0;
}
