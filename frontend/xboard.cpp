// frontend/xboard.cpp: the XBoard loop of every edition. The edition's
// greeting, line reading, answer to an unknown word, time budget and own
// commands come from frontend/edition_hooks.h.
#include "frontend/xboard.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/commands.h"
#include "frontend/console.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "frontend/uci.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "search/driver.h"
#include "search/state.h"
#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

bool on_clock;
long moves_per_session;
std::int64_t increment_ms;

namespace {

constexpr std::int64_t SECONDS_PER_MINUTE = 60;
constexpr std::int64_t MAX_INCREMENT_MS = 3600 * 1000;   // an hour a move is more than any clock gives

// The next input line without its newline; false at the end of input.
bool read_xboard_line(std::string& line) {
    line.clear();
    int c = EOF;
    while ((XBOARD_WHOLE_LINES || line.size() < XBOARD_LINE_SIZE - 1) &&
           (c = input_char()) != EOF && c != '\n')
        line.push_back(char(c));
    const bool read = c != EOF || !line.empty();
    if (!XBOARD_WHOLE_LINES) line.resize(std::strlen(line.c_str()));   // a C string ends at a NUL byte
    return read;
}

// The number after the command word, as a formatted read takes it: 0 when
// there is none; values beyond 64 bits saturate.
std::int64_t number_in(const std::string& rest) { return std::strtoll(rest.c_str(), nullptr, 10); }

constexpr std::int64_t CS_PER_SECOND = 100;

// A clock in centiseconds, held within what the clock arithmetic takes (a
// clock beyond it would overflow the budget's sums).
std::int64_t held_clock(std::int64_t cs) {
    constexpr std::int64_t MAX_CLOCK = MAX_TIME_SECONDS * CS_PER_SECOND;
    return std::clamp(cs, -MAX_CLOCK, MAX_CLOCK);
}

std::int64_t clock_in(const std::string& rest) { return held_clock(number_in(rest)); }

// The text after the command word opens with a number, as strtol reads one.
bool starts_with_number(const std::string& rest) {
    const char* p = rest.c_str();
    while (std::isspace(static_cast<unsigned char>(*p))) p++;
    if (*p == '+' || *p == '-') p++;
    return std::isdigit(static_cast<unsigned char>(*p)) != 0;
}

// On the clock a search ends when its budget is spent, checked as often as
// UCI mode checks it; off the clock budget_ms is 0 and this never stops one.
int clock_poll() { return budget_ms > 0 && time_is_up(); }

// A search as XBoard mode runs it: on the clock's budget while on_clock.
void xboard_search() {
    budget_ms = on_clock ? int(clock_budget_ms()) : 0;
    poll_hook = clock_poll;
    tree_surf(1);
    poll_hook = nullptr;
    budget_ms = 0;
}

void engine_moves() {
    while (side == computer_side) {
        xboard_search();
        const move_bytes m = var_princ.moves[0];
        if (move_value(m) == 0) {   // mated or stalemated: the engine stops
            computer_side = EMPTY;
            return;
        }
        std::printf("move ");
        print_move(m);
        std::printf("\n");
        std::fflush(stdout);
        play_engine_move(m);
    }
}

// "white"/"black" (the word): side s moves next on the board as it stands,
// the game record restarts and the engine plays the other colour. An en
// passant square belongs to the side that was to move, so it goes when the
// side changes; a change that would let the new side take the enemy king is
// refused, as a FEN with the side not to move in check is.
void set_side_to_move(int s, const std::string& word) {
    if (s != side) {
        if (in_check(side)) {
            std::printf("Error (illegal position): %s\n", word.c_str());
            std::fflush(stdout);
            return;
        }
        ep = -1;
    }
    side = s;
    xside = s ^ 1;
    clear_game_record();
    ply = 0;
    Move2Gen();
    computer_side = xside;
}

void hint() {
    xboard_search();
    if (move_value(var_princ.moves[0]) == 0) return;
    std::printf("Hint: ");
    print_move(var_princ.moves[0]);
    std::printf("\n");
    std::fflush(stdout);
}

void take_back(int count) {
    if (undos < count) return;
    for (int i = 0; i < count; i++) take_back_one();
    Move2Gen();
}

void interface_move(const std::string& word) {
    if (enter_move(word, XBOARD_LETTERS) == MOVE_MADE) {
        book_on = game_plies < BOOK_PLY_LIMIT;
        return;
    }
    std::printf("%s%s\n", XBOARD_UNKNOWN, word.c_str());
    std::fflush(stdout);
}

// One command line; false on "quit".
bool xboard_command(const std::string& w, const std::string& rest) {
    if (xboard_edition_command(w, rest)) return true;
    if (w == "xboard") {
    } else if (w == "new") {
        init();
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
    } else if (w == "level") {
        if (!read_level(rest)) {
            std::printf("Error (not a level): level%s\n", rest.c_str());
            std::fflush(stdout);
        }
    } else if (w == "otim") {
        on_clock = true;
        op_time = clock_in(rest);
        std::printf("opponent time = %" PRId64 " ", op_time);
        tree_surf_time(op_time, total_time);
        max_depth = NO_LIMIT;
        std::printf("\n");
    } else if (w == "time") {
        on_clock = true;
        total_time = clock_in(rest);
        std::printf("total time = %" PRId64 " ", total_time);
        tree_surf_time(op_time, total_time);
        std::printf("%d per move \n", max_time);
        max_depth = NO_LIMIT;
    } else if ((w == "st" || w == "sd") && !starts_with_number(rest)) {
        std::printf("Error (not a number): %s%s\n", w.c_str(), rest.c_str());   // both limits stay
        std::fflush(stdout);
    } else if (w == "st") {
        max_time = clamp_to(number_in(rest), 1, MAX_TIME_SECONDS);
        max_depth = NO_LIMIT;
        on_clock = false;
    } else if (w == "sd") {
        max_depth = clamp_to(number_in(rest), 1, INT_MAX);
        max_time = NO_LIMIT;
        on_clock = false;
    } else if (w == "go") {
        book_on = game_plies < BOOK_PLY_LIMIT;
        computer_side = side;
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

bool read_level(const std::string& rest) {
    const char* p = rest.c_str();
    char* end;
    const long moves = std::strtol(p, &end, 10);
    if (end == p || moves < 0) return false;
    p = end;
    const std::int64_t minutes = std::strtoll(p, &end, 10);
    if (end == p || minutes < 0) return false;
    std::int64_t seconds = 0;
    if (*end == ':') {
        p = end + 1;
        seconds = std::strtoll(p, &end, 10);
        if (end == p || seconds < 0) return false;
    }
    p = end;
    const double increment = std::strtod(p, &end);
    if (end == p || !(increment >= 0)) return false;
    moves_per_session = moves;
    increment_ms = std::int64_t(std::min(increment * 1000 + 0.5, double(MAX_INCREMENT_MS)));
    // The clocks start full; "time" and "otim" say how they go down.
    const std::int64_t base = std::min<std::int64_t>(minutes, MAX_TIME_SECONDS) * SECONDS_PER_MINUTE +
                              std::min<std::int64_t>(seconds, MAX_TIME_SECONDS);
    total_time = op_time = held_clock(base * CS_PER_SECOND);
    on_clock = true;
    max_depth = NO_LIMIT;
    return true;
}

std::int64_t clock_budget_ms() {
    go_limits go;
    const std::int64_t own = total_time * MS_PER_CS, other = op_time * MS_PER_CS;
    go.wtime = side == LIGHT ? own : other;
    go.btime = side == LIGHT ? other : own;
    go.winc = go.binc = increment_ms;
    // The moves of the side to move up to the control: sessions count the
    // side's own moves since the position was set up.
    if (moves_per_session > 0) go.movestogo = moves_per_session - (game_plies / 2) % moves_per_session;
    return budget_for(go);
}

void xboard() {
    // Interfaces send SIGINT to interrupt a thinking engine; this engine
    // answers on its own clock, and must not die of it.
    std::signal(SIGINT, SIG_IGN);
    std::printf("%s", XBOARD_GREETING);
    std::fflush(stdout);   // the interface waits for the features
    init();
    Move2Gen();
    computer_side = EMPTY;
    eval_global = 0;
    book_mark = 0;
    on_clock = false;   // until the interface sends a clock
    moves_per_session = increment_ms = 0;   // the console's "ab" mark does not reach the interface's games

    std::string line, rest;
    for (;;) {
        engine_moves();
        if (!read_xboard_line(line)) return;   // end of input: as "quit"
        const std::string word = first_word(line, &rest);
        if (word.empty()) continue;     // an empty line, or blanks only
        if (!xboard_command(word, rest)) return;
    }
}
