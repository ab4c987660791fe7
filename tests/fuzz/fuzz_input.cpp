// tests/fuzz/fuzz_input.cpp: feeding the console loop from memory.
#include "fuzz_input.h"
#include "frontend/console.h"
#include "frontend/input.h"
#include "search/driver.h"
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// Output that goes nowhere without a system call: the front ends flush
// after every line, and writing each to /dev/null cost a tenth of a run.
ssize_t discard(void*, const char*, size_t size) { return ssize_t(size); }

}  // namespace

void enter_scratch_directory() {
    // In memory where the system offers it: the book targets write their
    // files at every run, and a disk turned that into most of their time.
    char in_memory[] = "/dev/shm/zorvu-fuzz-XXXXXX", on_disk[] = "/tmp/zorvu-fuzz-XXXXXX";
    char* dir = mkdtemp(in_memory);
    if (!dir) dir = mkdtemp(on_disk);
    if (!dir || chdir(dir) != 0) std::abort();
    // ZORVU_FUZZ_OUTPUT names a file that keeps what the runs print (to
    // compare a run alone with the same run after others); by default the
    // output goes nowhere.
    const char* keep = std::getenv("ZORVU_FUZZ_OUTPUT");
    FILE* out = keep ? std::fopen(keep, "w")
                     : fopencookie(nullptr, "w", cookie_io_functions_t{nullptr, discard, nullptr, nullptr});
    if (!out) std::abort();
    stdout = out;
}

std::string script(const char* prefix, const unsigned char* data, std::size_t size) {
    return prefix + std::string(reinterpret_cast<const char*>(data), size);
}

std::string uci_script(const char* prefix, const unsigned char* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const auto ends_word = [&](std::size_t i) { return i >= size || std::isspace(static_cast<unsigned char>(bytes[i])); };
    std::string out = prefix;
    for (std::size_t i = 0; i < size; i++) {
        out.push_back(bytes[i]);
        const bool go = i >= 1 && bytes.compare(i - 1, 2, "go") == 0 && (i < 2 || ends_word(i - 2)) && ends_word(i + 1);
        if (go) out += " depth 1";
    }
    return out;
}

int run_console_on(const std::string& input) {
    // What the searches of an earlier run left (tables, caches, counters)
    // back as a new process finds it.
    reset_search_state();
    use_input_text(input);   // also drops a word an earlier run gave back
    const int status = console_main();
    std::fflush(stdout);
    return status;
}
