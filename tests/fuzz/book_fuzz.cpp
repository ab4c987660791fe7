// tests/fuzz/book_fuzz.cpp: the opening book fed arbitrary open.dat contents.
// A console session looks moves up in it and adds two moves to it; afterwards
// every line the file held must still be there, in order, at most lengthened
// by added entries.
#include "fuzz_input.h"
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The lines as the book reads them: a last line without its newline counts.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string read_file(const char* name) {
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "52,36/" entries, and nothing else.
bool only_entries(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const std::size_t comma = s.find(',', i), slash = s.find('/', i);
        if (comma == std::string::npos || slash == std::string::npos || comma > slash) return false;
        if (comma == i || slash == comma + 1) return false;
        for (std::size_t k = i; k < slash; k++)
            if (k != comma && (s[k] < '0' || s[k] > '9')) return false;
        i = slash + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    enter_scratch_directory();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string before(reinterpret_cast<const char*>(data), size);
    std::remove("open.tmp");
    {
        std::ofstream book("open.dat", std::ios::binary | std::ios::trunc);
        book << before;
    }
    // White's first move and the engine's answer from the book, twice.
    run_console_on("sd 1\nab\ne2e4\non\nab\nd2d4\nbye\n");

    const std::vector<std::string> old_lines = lines_of(before), new_lines = lines_of(read_file("open.dat"));
    if (new_lines.size() < old_lines.size() || new_lines.size() > old_lines.size() + 2) std::abort();
    for (std::size_t i = 0; i < old_lines.size(); i++) {
        const std::string& was = old_lines[i];
        if (new_lines[i].compare(0, was.size(), was) != 0) std::abort();
        if (!only_entries(new_lines[i].substr(was.size()))) std::abort();
    }
    return 0;
}
