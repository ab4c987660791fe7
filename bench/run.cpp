// bench/run.cpp: the search signature. Each position is searched as a freshly
// started program searches it ("setboard", "sd", "on"), so the counts do not
// depend on the order of the positions or on what ran before. Any change to
// what the search does changes the sum, so the tests keep one per edition.
#include "bench/run.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "moves/gen.h"
#include "search/driver.h"
#include "search/threads.h"
#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <cinttypes>
#include <cstdio>

namespace {

struct bench_position {
    const char* fen;
    int extra_plies;   // searched this many plies beyond the given depth
};

const bench_position POSITIONS[] = {
    // Openings and middlegames.
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 0},
    {"rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5", 0},
    {"rnbqk2r/ppp1bppp/4pn2/3p2B1/2PP4/2N5/PP2PPPP/R2QKBNR w KQkq - 4 5", 0},
    {"r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5", 0},
    {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 0},
    {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 0},
    {"2rq1rk1/pp1bppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 7 11", 0},
    {"r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13", 0},
    // One side a rook and a pawn ahead: scores far from 0, where the
    // searches' limits on large advantages come into play.
    {"r1bq1rk1/pp3ppp/2nbpn2/3p4/2PP4/1PNB1N2/5PPP/2BQ1RK1 b - - 0 9", 0},
    {"5rk1/1pp1qppp/2np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 0},
    // Tactics: the bishop sacrifice on h7, a mate in one, and a back-rank
    // mate with few men left (searched as deep as the endgames).
    {"r1bq1rk1/pppn1ppp/4p3/3pP3/1b1P4/2NB1N2/PPP2PPP/R2QK2R w KQ - 0 8", 0},
    {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 0},
    {"6k1/5ppp/8/8/8/2N5/1B3PPP/3R2K1 w - - 0 1", BENCH_ENDGAME_PLIES},
    // Endgames: rooks and pawns, knight against bishop, pawn endings, a
    // promotion race, king and rook against king.
    {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"r7/5pk1/6p1/8/8/6P1/5PK1/R7 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"5k2/5p2/4p1p1/3nP3/1p3P2/1P1B2P1/6K1/8 w - - 0 40", BENCH_ENDGAME_PLIES},
    {"8/8/4kpp1/3p4/p2P1P2/P3K1P1/8/8 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"6k1/5p2/6p1/8/7p/8/6PP/6K1 b - - 0 1", BENCH_ENDGAME_PLIES},
    {"8/8/1p6/1P1k4/3p4/3K4/8/8 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"4k3/8/8/8/8/8/PPP5/4K3 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"8/8/4k3/8/2P5/8/5K2/8 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"8/6P1/8/8/8/8/1p4K1/k7 w - - 0 1", BENCH_ENDGAME_PLIES},
    {"2k5/8/8/8/8/8/5R2/4K3 w - - 0 1", BENCH_ENDGAME_PLIES},
};
constexpr int POSITION_COUNT = sizeof POSITIONS / sizeof POSITIONS[0];

// The searches print their thinking, whatever the edition does with
// tree_surf's "silent": while one runs, standard output goes to /dev/null.
struct quiet_output {
    int null_fd, saved_fd;
};

void hush(const quiet_output& q) {
    std::fflush(stdout);
    dup2(q.null_fd, STDOUT_FILENO);
}

void speak(const quiet_output& q) {
    std::fflush(stdout);
    dup2(q.saved_fd, STDOUT_FILENO);
}

// One position as a new program searches it after "setboard FEN", "sd
// depth" and "on": the initial position set up at start-up, then the FEN;
// the engine plays the side to move, the book stays shut. Returns the
// reported nodes, -1 for a FEN the set-up refuses.
std::int64_t search_fresh(const char* fen, int depth, const quiet_output& q) {
    reset_search_state();
    process_fen(START_FEN);
    if (!process_fen(fen)) return -1;
    Move2Gen();
    computer_side = side;
    max_depth = depth;
    max_time = NO_LIMIT;
    book_on = 0;
    hush(q);
    tree_surf(1);
    speak(q);
    return reported_nodes() + helper_nodes();
}

}  // namespace

namespace {

// A number from 1 to `max` in decimal digits alone. At most `max_digits`
// digits: every number in range fits, and no long string of digits can
// overflow on the way.
bool read_count(const char* text, int max, int max_digits, int* count) {
    int value = 0, digits = 0;
    for (const char* c = text; *c != '\0'; c++, digits++) {
        if (*c < '0' || *c > '9' || digits == max_digits) return false;
        value = value * 10 + (*c - '0');
    }
    if (digits == 0 || value < 1 || value > max) return false;
    *count = value;
    return true;
}

}  // namespace

bool bench_read_depth(const char* text, int* depth) { return read_count(text, BENCH_MAX_DEPTH, 2, depth); }
bool bench_read_threads(const char* text, int* threads) { return read_count(text, MAX_SEARCH_THREADS, 3, threads); }

std::int64_t bench_run(int depth, bool reverse, int threads, double* seconds) {
    const quiet_output q{open("/dev/null", O_WRONLY), dup(STDOUT_FILENO)};
    if (q.null_fd < 0 || q.saved_fd < 0) {
        std::perror("/dev/null");
        return -1;
    }
    set_search_threads(threads);
    std::int64_t total = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int k = 0; k < POSITION_COUNT; k++) {
        const int i = reverse ? POSITION_COUNT - 1 - k : k;
        const std::int64_t n = search_fresh(POSITIONS[i].fen, depth + POSITIONS[i].extra_plies, q);
        if (n < 0) {
            std::fprintf(stderr, "position %d refused: %s\n", i + 1, POSITIONS[i].fen);
            total = -1;
            break;
        }
        total += n;
        std::printf("%2d %10" PRId64 "  ", i + 1, n);
        print_move(var_princ.moves[0]);
        std::printf("\n");
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
    *seconds = spent.count();
    set_search_threads(1);
    close(q.null_fd);
    close(q.saved_fd);
    return total;
}
