// frontend/input.h: reading the console's words, of any length, with one
// word of look-ahead that can be given back, and numbers as a formatted
// read takes them.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <string>

constexpr int MAX_TIME_SECONDS = 2000000;   // the clock arithmetic holds up to about 24 days

extern std::string pending_word;             // a word read ahead and given back

int  read_word(std::string& word);           // next white-space-delimited word; 0 at end of input
void unread_word(const std::string& word);   // the next read_word returns this word
// A decimal integer from the next word: digits after an optional sign; what
// follows them is read as the next word. A word that does not start with a
// number is given back untouched and false is returned.
bool read_number(long* value);
int  clamp_to(long v, long low, long high);  // v within [low, high], as an int
