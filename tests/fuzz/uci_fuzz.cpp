// tests/fuzz/uci_fuzz.cpp: the UCI loop fed arbitrary lines, its searches
// one ply deep unless a line asks for more. A book with one first move for
// each side lies beside it (one, so that the choice is not the clock's): UCI
// mode only reads the book, so it is written once.
#include "fuzz_input.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    FILE* book = std::fopen("open.dat", "w");
    if (!book) return 1;
    std::fputs("tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT /0/52,36/\n"
               "tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT /1/12,28/\n", book);
    std::fclose(book);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    run_console_on(uci_script("uci\n", data, size));
    return 0;
}
