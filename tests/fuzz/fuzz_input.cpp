// tests/fuzz/fuzz_input.cpp: feeding the console loop from memory.
#include "fuzz_input.h"
#include "frontend/console.h"
#include "frontend/input.h"
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

void enter_scratch_directory() {
    char dir[] = "/tmp/zorvu-fuzz-XXXXXX";
    if (!mkdtemp(dir) || chdir(dir) != 0) std::abort();
    if (!std::freopen("/dev/null", "w", stdout)) std::abort();
}

namespace {

// Editions 3.5 and 3.0 read XBoard lines as C strings, so a NUL byte ends a
// word there.
bool ends_word(unsigned char c) { return std::isspace(c) || c == '\0'; }

}  // namespace

std::string bounded_script(const std::string& prefix, const unsigned char* data, std::size_t size) {
    std::string out = prefix;
    std::size_t i = 0;
    while (i < size) {
        if (ends_word(data[i])) {
            out.push_back(char(data[i++]));
            continue;
        }
        std::size_t end = i;
        while (end < size && !ends_word(data[end])) end++;
        const std::string word(reinterpret_cast<const char*>(data) + i, end - i);
        const bool limit = word == "st" || word == "sd" || word == "time" || word == "otim";
        out += limit ? "zz" : word;
        i = end;
    }
    return out;
}

int run_console_on(const std::string& input) {
    use_input_text(input);   // also drops a word an earlier run gave back
    const int status = console_main();
    std::fflush(stdout);
    return status;
}
