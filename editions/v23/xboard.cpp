// editions/v23/xboard.cpp: the XBoard loop: one command line at a time, the
// engine's moves as "move" lines, the interface's moves in coordinates.
#include "editions/v23/frontends23.h"
#include "frontend/input.h"
#include "board/position.h"
#include "board/print.h"
#include "editions/v23/game.h"
#include "editions/v23/search23.h"
#include "frontend/console.h"
#include "frontend/reply.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include <algorithm>
#include <cctype>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// The next input line of any length, without its newline; false at end of input.
bool read_line(std::string& line) {
    line.clear();
    int c;
    while ((c = std::getchar()) != EOF && c != '\n') line.push_back(char(c));
    return c != EOF || !line.empty();
}

// The first white-space-delimited word of the line, and what follows it.
std::string first_word(const std::string& line, std::string* rest) {
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const auto start = std::find_if_not(line.begin(), line.end(), blank);
    const auto end = std::find_if(start, line.end(), blank);
    *rest = std::string(end, line.end());
    return std::string(start, end);
}

// The number after the command word, as a formatted read takes it: 0 when
// there is none; values beyond the range of long saturate.
long number_in(const std::string& rest) { return std::strtol(rest.c_str(), nullptr, 10); }


void engine_moves() {
    while (side == computer_side) {
        tree_surf(1);
        const move_bytes m = var_princ.moves[0];
        // No move, or no room left for it in the game record: the engine stops.
        if (move_value(m) == 0 || undos >= MAX_GAME) {
            computer_side = EMPTY;
            return;
        }
        std::printf("move ");
        print_move(m);
        std::printf("\n");
        std::fflush(stdout);
        makemove(m);
        record_move23();
    }
}

void hint() {
    tree_surf(1);
    if (move_value(var_princ.moves[0]) == 0) return;
    std::printf("Hint: ");
    print_move(var_princ.moves[0]);
    std::printf("\n");
    std::fflush(stdout);
}

void take_back(int count) {
    if (undos < count) return;
    for (int i = 0; i < count; i++) take_back23();
    Move2Gen();
}

void interface_move(const std::string& word) {
    const int i = find_move23(word, XBOARD_LETTERS);
    if (i >= 0 && undos < MAX_GAME && makemove(gen_dat[i].m)) {
        record_move23();
        book_on = undos < 24;
        return;
    }
    std::printf("Not yet supported: %s\n", word.c_str());
    std::fflush(stdout);
}

// One command line; false on "quit".
bool xboard_command(const std::string& w, const std::string& rest) {
    if (w == "xboard") {
    } else if (w == "new") {
        new_game();
        Move2Gen();
        computer_side = DARK;
    } else if (w == "quit") {
        return false;
    } else if (w == "force") {
        computer_side = EMPTY;
    } else if (w == "white") {
        set_side_to_move(LIGHT, w);
    } else if (w == "black") {
        set_side_to_move(DARK, w);
    } else if (w == "otim") {
        op_time = number_in(rest);
        std::printf("opponent time = %ld ", op_time);
        max_time = time_budget(total_time);
        max_depth = 10000;
        std::printf("\n");
    } else if (w == "time") {
        total_time = number_in(rest);
        std::printf("total time = %ld ", total_time);
        max_time = time_budget(total_time);
        std::printf("%d per move \n", max_time);
        max_depth = 10000;
    } else if (w == "st") {
        max_time = clamp_to(number_in(rest), 1, MAX_TIME_SECONDS);
        max_depth = 10000;
    } else if (w == "sd") {
        max_depth = clamp_to(number_in(rest), 1, INT_MAX);
        max_time = 10000;
    } else if (w == "go") {
        computer_side = side;
        book_on = undos < 24;
    } else if (w == "hint") {
        hint();
    } else if (w == "undo") {
        take_back(1);
    } else if (w == "remove") {
        take_back(2);
    } else {
        interface_move(w);
    }
    return true;
}

}  // namespace

void xboard23() {
    // Interfaces send SIGINT to interrupt a thinking engine; this engine
    // answers on its own clock, and must not die of it.
    std::signal(SIGINT, SIG_IGN);
    std::printf("\n");
    std::fflush(stdout);
    new_game();
    Move2Gen();
    computer_side = EMPTY;
    book_mark = 0;   // the console's "ab" mark does not reach the interface's games

    std::string line, rest;
    for (;;) {
        engine_moves();
        if (!read_line(line)) return;   // end of input: as "quit"
        const std::string word = first_word(line, &rest);
        if (word.empty()) continue;     // an empty line, or blanks only
        if (!xboard_command(word, rest)) return;
    }
}
