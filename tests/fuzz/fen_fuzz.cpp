// tests/fuzz/fen_fuzz.cpp: the FEN reader fed arbitrary text. A position it
// accepts must be one the engine can work on: every generated move is made
// and taken back, the position evaluated, and the position written back as
// FEN reads in again to the same text.
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "moves/gen.h"
#include "moves/make.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (!process_fen(text.c_str())) return 0;

    Move2Gen();
    eval(-10000, 10000);
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        Move2Gen();
        eval(-10000, 10000);
        takeback();
    }

    char written[FEN_TEXT_SIZE], again[FEN_TEXT_SIZE];
    fen_display(written);
    if (!process_fen((std::string(written) + " 0 1").c_str())) std::abort();
    fen_display(again);
    if (std::strcmp(written, again) != 0) std::abort();
    return 0;
}
