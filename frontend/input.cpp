// frontend/input.cpp: the console's word reader.
#include "frontend/input.h"
#include <cctype>
#include <climits>
#include <cstdio>

std::string pending_word;

void unread_word(const std::string& word) { pending_word = word; }

int read_word(std::string& word) {
    if (!pending_word.empty()) {
        word.swap(pending_word);
        pending_word.clear();
        return 1;
    }
    word.clear();
    int c;
    do c = std::getchar();
    while (c != EOF && std::isspace(c));
    while (c != EOF && !std::isspace(c)) {
        word.push_back(char(c));
        c = std::getchar();
    }
    return !word.empty();
}

bool read_number(long* value) {
    std::string word;
    if (!read_word(word)) return false;
    std::size_t i = (word[0] == '-' || word[0] == '+') ? 1 : 0;
    if (i >= word.size() || !std::isdigit(static_cast<unsigned char>(word[i]))) {
        unread_word(word);
        return false;
    }
    long n = 0;
    for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); i++)
        n = n < LONG_MAX / 10 ? n * 10 + (word[i] - '0') : LONG_MAX;
    if (i < word.size()) unread_word(word.substr(i));
    *value = word[0] == '-' ? -n : n;
    return true;
}

int clamp_to(long v, long low, long high) { return int(v < low ? low : v > high ? high : v); }
