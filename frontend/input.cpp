// frontend/input.cpp: the buffered reader of the program's input.
#include "frontend/input.h"
#include "frontend/input_source.h"
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

std::string pending_word;

namespace {

constexpr std::size_t READ_CHUNK = 4096;

std::string buffer;          // bytes read and not yet taken
std::size_t taken;           // bytes of buffer already taken
bool input_ended;            // nothing more will come after the buffer
bool line_done = true;       // the last byte taken ended its line (none taken yet)

// Reads what the source has (waiting for it when `wait`); false when
// nothing was added.
bool fill(bool wait) {
    if (input_ended) return false;
    if (!wait && !source_ready()) return false;
    // Whatever was printed is out before the program waits for an answer to it.
    if (wait) std::fflush(stdout);
    if (taken == buffer.size()) {
        buffer.clear();
        taken = 0;
    }
    char chunk[READ_CHUNK];
    const std::size_t n = source_read(chunk, sizeof chunk);
    if (n == 0) {
        input_ended = true;
        return false;
    }
    buffer.append(chunk, n);
    return true;
}

}  // namespace

void use_standard_input() {
    buffer.clear();
    taken = 0;
    input_ended = false;
    line_done = true;
    pending_word.clear();
}

void use_input_text(const std::string& text) {
    buffer = text;
    taken = 0;
    input_ended = true;
    line_done = true;
    pending_word.clear();
}

int input_char() {
    if (taken == buffer.size() && !fill(true)) return EOF;
    const int c = static_cast<unsigned char>(buffer[taken++]);
    line_done = c == '\n';
    return c;
}

bool read_line(std::string& line) {
    line.clear();
    int c = EOF;
    while ((c = input_char()) != EOF && c != '\n') line.push_back(char(c));
    return c != EOF || !line.empty();
}

bool line_ready() {
    for (;;) {
        if (std::memchr(buffer.data() + taken, '\n', buffer.size() - taken)) return true;
        if (input_ended) return true;
        if (!fill(false)) return input_ended;
    }
}

std::string first_word(const std::string& line, std::string* rest) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto start = std::find_if_not(line.begin(), line.end(), blank);
    const auto end = std::find_if(start, line.end(), blank);
    std::string word(start, end);
    *rest = std::string(end, line.end());   // last: rest may be the line itself
    return word;
}

std::vector<std::string> words_of(const std::string& text) {
    std::vector<std::string> words;
    std::string rest = text;
    for (std::string w = first_word(rest, &rest); !w.empty(); w = first_word(rest, &rest)) words.push_back(w);
    return words;
}

void unread_word(const std::string& word) { pending_word = word; }

int words_left_on_line() {
    const int given_back = pending_word.empty() ? 0 : 1;
    if (line_done) return given_back;
    // The rest of the line is waited for whole; fill appends while bytes are
    // left untaken, so nothing of it is lost.
    std::size_t end;
    while ((end = buffer.find('\n', taken)) == std::string::npos && fill(true)) {
    }
    // Up to the newline, or to the end of input within the line.
    return given_back + int(words_of(buffer.substr(taken, end - taken)).size());
}

int read_word(std::string& word) {
    if (!pending_word.empty()) {
        word.swap(pending_word);
        pending_word.clear();
        return 1;
    }
    word.clear();
    int c;
    do c = input_char();
    while (c != EOF && std::isspace(c));
    while (c != EOF && !std::isspace(c)) {
        word.push_back(char(c));
        c = input_char();
    }
    return !word.empty();
}

bool read_number(std::int64_t* value) {
    std::string word;
    if (!read_word(word)) return false;
    std::size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (i >= word.size() || !std::isdigit(static_cast<unsigned char>(word[i]))) {
        unread_word(word);
        return false;
    }
    std::int64_t n = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); i++)
        n = n < INT64_MAX / 10 ? n * 10 + (word[i] - '0') : INT64_MAX;
    if (i < word.size()) unread_word(word.substr(i));
    *value = word[0] == '-' ? -n : n;
    return true;
}

int clamp_to(std::int64_t v, std::int64_t low, std::int64_t high) { return int(v < low ? low : v > high ? high : v); }
