// tests/fuzz/fuzz_input.cpp: feeding the console loop from memory.
#include "fuzz_input.h"
#include "frontend/console.h"
#include "frontend/input.h"
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
    FILE* nowhere = fopencookie(nullptr, "w", cookie_io_functions_t{nullptr, discard, nullptr, nullptr});
    if (!nowhere) std::abort();
    stdout = nowhere;
}

namespace {

// Editions 3.5 and 3.0 read XBoard lines as C strings, so a NUL byte ends a
// word there.
bool ends_word(unsigned char c) { return std::isspace(c) || c == '\0'; }

// prefix + data, each word replaced by what `replace` gives for it.
template <typename Replace>
std::string rewrite_words(const std::string& prefix, const unsigned char* data, std::size_t size, Replace replace) {
    std::string out = prefix;
    std::size_t i = 0;
    while (i < size) {
        if (ends_word(data[i])) {
            out.push_back(char(data[i++]));
            continue;
        }
        std::size_t end = i;
        while (end < size && !ends_word(data[end])) end++;
        out += replace(std::string(reinterpret_cast<const char*>(data) + i, end - i));
        i = end;
    }
    return out;
}

}  // namespace

std::string bounded_script(const std::string& prefix, const unsigned char* data, std::size_t size) {
    return rewrite_words(prefix, data, size, [](const std::string& word) {
        const bool limit = word == "st" || word == "sd" || word == "time" || word == "otim";
        return limit ? std::string("zz") : word;
    });
}

std::string bounded_uci_script(const std::string& prefix, const unsigned char* data, std::size_t size) {
    static const char* const limits[] = {"st", "sd", "time", "otim", "depth", "movetime", "wtime", "btime",
                                         "winc", "binc", "movestogo", "nodes", "infinite"};
    return rewrite_words(prefix, data, size, [](const std::string& word) {
        if (word == "go") return std::string("go depth 1");
        for (const char* limit : limits)
            if (word == limit) return std::string("zz");
        return word;
    });
}

int run_console_on(const std::string& input) {
    use_input_text(input);   // also drops a word an earlier run gave back
    const int status = console_main();
    std::fflush(stdout);
    return status;
}
