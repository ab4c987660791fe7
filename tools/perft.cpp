// tools/perft.cpp: perft over the global position.
#include "tools/perft.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "moves/gen.h"
#include "moves/make.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

uint64_t perft(int depth) {
    Move2Gen();
    uint64_t nodes = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        nodes += depth > 1 ? perft(depth - 1) : 1;
        takeback();
    }
    return nodes;
}

int perft_main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s \"<FEN>\" <depth>\n", argv[0]);
        return 2;
    }
    char* end;
    const long depth = std::strtol(argv[2], &end, 10);
    if (*end != '\0' || depth < 1 || depth > MAX_PLY - 2) {
        std::fprintf(stderr, "depth must be a number from 1 to %d\n", MAX_PLY - 2);
        return 2;
    }
    // The reader's complaint joins the refusal on one line of the error
    // stream, instead of a line of its own on the output.
    fen_quiet = 1;
    fen_message[0] = '\0';
    const int accepted = process_fen(argv[1]);
    fen_quiet = 0;
    if (!accepted) {
        std::fprintf(stderr, "bad FEN: \"%s\"%s%.*s\n", argv[1], fen_message[0] ? ": " : "",
                     int(std::strcspn(fen_message, "\n")), fen_message);
        return 1;
    }
    Move2Gen();
    uint64_t total = 0;
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (!makemove(m)) continue;
        const uint64_t count = depth > 1 ? perft(int(depth) - 1) : 1;
        takeback();
        total += count;
        print_move(m);
        std::printf(": %llu\n", static_cast<unsigned long long>(count));
    }
    std::printf("\nNodes searched: %llu\n", static_cast<unsigned long long>(total));
    return 0;
}
