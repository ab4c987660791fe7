// tests/fuzz/uci_fuzz.cpp: the UCI loop fed arbitrary lines, its searches
// one ply deep unless a line asks for more.
#include "fuzz_input.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::remove("open.dat");
    run_console_on(uci_script("uci\n", data, size));
    return 0;
}
