// frontend/uci_go.h: UCI mode's "go": its words, the search run under it
// (one line, or several with MultiPV; only the root moves searchmoves
// allows; pondering until "ponderhit"), the info lines it prints, and the
// input it reads while it runs, with what the UCI loop shares of it.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include "frontend/uci.h"
#include <string>

go_limits parse_go(const std::string& rest);
bool cmd_go(const std::string& rest);   // searches, prints the one "bestmove"; false on "quit"
// The next command: a line put off during a search, or the next input line.
bool next_line(std::string& line);
// Entering UCI mode: the thinking lines become info lines, nothing is put
// off, the input is open. Leaving it: the console's hooks and budget again,
// and the lines put off give back their memory.
void go_begin();
void go_end();

// Lines the loop prints too.
std::string shown(const std::string& text);   // input made safe to repeat: printable, cut short
void say(const char* text);
void info_string(const std::string& text);
