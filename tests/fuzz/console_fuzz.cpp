// tests/fuzz/console_fuzz.cpp: the console loop fed arbitrary bytes, its
// searches one ply deep until the input sets other limits.
#include "fuzz_input.h"
#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    std::remove("open.dat");   // each run starts without a book
    run_console_on(script("sd 1\n", data, size));
    return 0;
}
