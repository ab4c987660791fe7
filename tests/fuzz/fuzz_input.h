// tests/fuzz/fuzz_input.h: what the fuzz targets of the front ends share:
// running a program's console on given bytes, in a scratch directory of its
// own, with nothing printed. The fuzz build caps every search at a few dozen
// nodes, so any limit an input sets still ends in a short search.
#pragma once
#include <string>

// Moves the process into a fresh scratch directory (the book files land
// there) and discards standard output, or writes it to the file named by
// ZORVU_FUZZ_OUTPUT. Called once per process.
void enter_scratch_directory();

// prefix followed by the fuzzer's bytes, as the program's standard input.
std::string script(const char* prefix, const unsigned char* data, std::size_t size);
// The same for UCI, with every "go" word followed by " depth 1": a search
// is one ply deep unless its own line asks for more.
std::string uci_script(const char* prefix, const unsigned char* data, std::size_t size);

// Runs the program's console loop with `input` as its standard input, from
// a fresh program's search state.
int run_console_on(const std::string& input);
