// frontend/input.h: the one reader of the program's input, shared by the
// console, XBoard and UCI modes and by the search's poll: bytes from file
// descriptor 0 (or from a text given whole) into a buffer of its own, so
// that a line already read from the pipe is never missed by a poll. Words of
// any length with one word of look-ahead that can be given back, lines of
// any length, and numbers as a formatted read takes them.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <cstdint>
#include <string>
#include <vector>

constexpr int MAX_TIME_SECONDS = 2000000;   // the clock arithmetic holds up to about 24 days

// The main thread's alone.
extern std::string pending_word;             // a word read ahead and given back

// The input is standard input (at start-up), or the given text and nothing
// after it (the fuzz targets); either way nothing is left over from before.
void use_standard_input();
void use_input_text(const std::string& text);

int  input_char();                           // the next byte, waiting for it; EOF at the end of input
bool read_line(std::string& line);           // the next line without its newline; false at the end of input
// A whole line, or the end of input, can be read without waiting. Never blocks.
bool line_ready();

// The first white-space-delimited word of a line, and in *rest what follows it.
std::string first_word(const std::string& line, std::string* rest);
std::vector<std::string> words_of(const std::string& text);   // all of its words

int  read_word(std::string& word);           // next white-space-delimited word; 0 at end of input
void unread_word(const std::string& word);   // the next read_word returns this word
// How many words are left on the line of the last byte taken (a word given
// back counts), without taking them: 0 when that byte ended its line. Waits
// for the line's end or the end of input.
int  words_left_on_line();
// A decimal integer from the next word: digits after an optional sign; what
// follows them is read as the next word. A word that does not start with a
// number is given back untouched and false is returned. The number is
// 64-bit in every build and saturates beyond that range.
bool read_number(std::int64_t* value);
int  clamp_to(std::int64_t v, std::int64_t low, std::int64_t high);  // v within [low, high], as an int
