// tests/fuzz/fuzz_input.h: what the fuzz targets of the front ends share:
// running a program's console on given bytes, in a scratch directory of its
// own, with nothing printed and searches kept to one ply.
#pragma once
#include <string>

// Moves the process into a fresh scratch directory (the book files land
// there) and discards standard output. Called once per process.
void enter_scratch_directory();

// The fuzzer's bytes made safe to run: every word that would set a search
// limit or a clock ("st", "sd", "time", "otim", ended by white space or a
// NUL byte) is replaced, so every search stays at the one ply that `prefix`
// sets. The result is prefix + bytes.
std::string bounded_script(const std::string& prefix, const unsigned char* data, std::size_t size);

// The same for UCI: every word that sets a search limit ("depth",
// "movetime", the clocks, "nodes", "infinite") is replaced, and every "go"
// becomes "go depth 1".
std::string bounded_uci_script(const std::string& prefix, const unsigned char* data, std::size_t size);

// Runs the program's console loop with `input` as its standard input.
int run_console_on(const std::string& input);
