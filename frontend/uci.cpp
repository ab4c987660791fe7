// frontend/uci.cpp: the UCI loop of every edition: the handshake and the
// options, positions, and the commands between searches. After "uciok" the
// program prints UCI lines only.
#include "frontend/uci.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/commands.h"
#include "frontend/console.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "frontend/uci_go.h"
#include "hash/table_memory.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include "search/state.h"
#include "search/threads.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string uci_start;
std::vector<std::string> uci_moves;
int own_book = 1;

namespace {

// ------------------------------------------------------------------ position

bool is_move_word(const std::string& w) {
    const auto file = [](char c) { return c >= 'a' && c <= 'h'; };
    const auto rank = [](char c) { return c >= '1' && c <= '8'; };
    if (w.size() != 4 && w.size() != 5) return false;
    if (!file(w[0]) || !rank(w[1]) || !file(w[2]) || !rank(w[3])) return false;
    return w.size() == 4 || std::string("nbrq").find(w[4]) != std::string::npos;
}

// Sets up a start afresh, as a new program would find it; false (with the
// reader's message kept in fen_message) when the FEN is refused.
bool set_up(const std::string& start) {
    reset_search_state();
    if (start == "startpos") {
        init();
    } else {
        fen_quiet = 1;
        fen_message[0] = '\0';
        const int ok = process_fen(start.c_str());
        fen_quiet = 0;
        if (!ok) return false;
    }
    ply = 0;
    Move2Gen();
    return true;
}

// Plays moves on the game from `from` on; those that are played join
// uci_moves. Stops at the first that is refused, with an info string.
void play_moves(const std::vector<std::string>& moves, std::size_t from) {
    for (std::size_t i = from; i < moves.size(); i++) {
        const std::string& w = moves[i];
        const entry_result r = is_move_word(w) ? enter_move(w, XBOARD_LETTERS) : NO_SUCH_MOVE;
        if (r == MOVE_MADE) {
            uci_moves.push_back(w);
            continue;
        }
        info_string("illegal move " + shown(w) + ": the position is the one before it");
        return;
    }
}

// Back to the position uci_start and uci_moves describe (after a refused FEN
// had half set one up).
void restore_position() {
    const std::vector<std::string> moves = uci_moves;
    uci_moves.clear();
    if (uci_start.empty() || !set_up(uci_start)) {
        uci_start.clear();
        set_up("startpos");
        return;
    }
    play_moves(moves, 0);
}

void cmd_position(const std::string& rest) {
    const std::vector<std::string> w = words_of(rest);
    std::size_t i = 1;
    std::string start;
    if (!w.empty() && w[0] == "startpos") {
        start = "startpos";
    } else if (!w.empty() && w[0] == "fen") {
        for (; i < w.size() && w[i] != "moves"; i++) start += (start.empty() ? "" : " ") + w[i];
        // Missing counters are taken as a new game's.
        if (i == 5) start += " 0 1";
        else if (i == 6) start += " 1";
    } else {
        info_string("position: startpos or fen expected");
        return;
    }
    std::vector<std::string> moves;
    if (i < w.size() && w[i] == "moves") moves.assign(w.begin() + long(i) + 1, w.end());
    else if (i < w.size()) info_string("position: " + shown(w[i]) + " ignored, moves expected");

    const bool extends = start == uci_start && moves.size() >= uci_moves.size() &&
                         std::equal(uci_moves.begin(), uci_moves.end(), moves.begin());
    if (extends) {
        play_moves(moves, uci_moves.size());
        return;
    }
    if (!set_up(start)) {
        info_string("bad FEN, position unchanged: " + shown(start) + (fen_message[0] ? " (" : "") +
                    shown(std::string(fen_message, std::strcspn(fen_message, "\n"))) + (fen_message[0] ? ")" : ""));
        restore_position();
        return;
    }
    uci_start = start;
    uci_moves.clear();
    play_moves(moves, 0);
}

// ------------------------------------------------------------------ the rest

// An option's value as a whole number within [min, max]; otherwise an info
// string says what the option takes, and false.
bool spin_value(const char* name, const std::string& value, long min, long max, long* n) {
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(value.c_str(), &end, 10);
    if (!value.empty() && *end == '\0' && errno == 0 && v >= min && v <= max) {
        *n = long(v);
        return true;
    }
    info_string(std::string(name) + " is a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                ", not " + shown(value));
    return false;
}

bool check_value(const char* name, const std::string& value, int* flag) {
    if (value == "true" || value == "false") {
        *flag = value == "true";
        return true;
    }
    info_string(std::string(name) + " is true or false, not " + shown(value));
    return false;
}

void set_hash(long mb) {
    if (mb == hash_table_mb()) return;
    if (!resize_hash_table(mb))
        info_string("Hash: " + std::to_string(mb) + " MB cannot be had, the table keeps its " +
                    std::to_string(hash_table_mb()) + " MB");
}

void cmd_setoption(const std::string& rest) {
    const std::vector<std::string> w = words_of(rest);
    std::string name, value;
    std::size_t i = 0;
    if (i < w.size() && w[i] == "name") i++;
    for (; i < w.size() && w[i] != "value"; i++) name += (name.empty() ? "" : " ") + w[i];
    for (i++; i < w.size(); i++) value += (value.empty() ? "" : " ") + w[i];
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    long n;
    int flag;
    // Options this engine does not have are ignored.
    if (lower == "hash") {
        if (spin_value("Hash", value, 1, TABLE_MAX_MB, &n)) set_hash(n);
    } else if (lower == "clear hash") {
        clear_hash_tables();
    } else if (lower == "threads") {
        if (spin_value("Threads", value, 1, MAX_SEARCH_THREADS, &n)) set_search_threads(int(n));
    } else if (lower == "ponder") {
        if (check_value("Ponder", value, &flag)) ponder_option = flag;
    } else if (lower == "multipv") {
        if (spin_value("MultiPV", value, 1, MAX_MULTIPV, &n)) multipv_option = int(n);
    } else if (lower == "ownbook") {
        if (check_value("OwnBook", value, &flag)) own_book = flag;
    }
}

void identify() {
    std::printf("id name Zorvu %s\n", EDITION_NUMBER);
    std::printf("id author %s\n", AUTHOR);
    std::printf("option name Hash type spin default %ld min 1 max %ld\n", DEFAULT_HASH_MB, TABLE_MAX_MB);
    std::printf("option name Clear Hash type button\n");
    std::printf("option name Threads type spin default 1 min 1 max %d\n", MAX_SEARCH_THREADS);
    std::printf("option name Ponder type check default false\n");
    std::printf("option name MultiPV type spin default 1 min 1 max %d\n", MAX_MULTIPV);
    std::printf("option name OwnBook type check default true\n");
    say("uciok");
}

void uci_new_game() {
    uci_start.clear();
    uci_moves.clear();
    set_up("startpos");
}

// One command line; false on "quit".
bool uci_command(const std::string& line) {
    std::string rest;
    const std::string word = first_word(line, &rest);
    if (word.empty() || word == "stop" || word == "ponderhit" || word == "debug" || word == "register") {
    } else if (word == "uci") {
        identify();
    } else if (word == "isready") {
        say("readyok");
    } else if (word == "ucinewgame") {
        uci_new_game();
    } else if (word == "position") {
        cmd_position(rest);
    } else if (word == "go") {
        return cmd_go(rest);
    } else if (word == "setoption") {
        cmd_setoption(rest);
    } else if (word == "quit") {
        return false;
    } else {
        info_string("unknown command: " + shown(word));
    }
    return true;
}

}  // namespace

void uci() {
    // Interfaces may send SIGINT; the engine answers "stop" instead.
    std::signal(SIGINT, SIG_IGN);
    std::printf("\n");   // ends the prompt's line
    identify();
    // The options start at their defaults.
    own_book = 1;
    ponder_option = 0;
    multipv_option = 1;
    set_hash(DEFAULT_HASH_MB);
    set_search_threads(1);
    go_begin();
    book_mark = 0;
    computer_side = EMPTY;
    uci_new_game();
    std::string line;
    while (next_line(line))
        if (!uci_command(line)) break;
    go_end();
    set_search_threads(1);   // no helper outlives the loop
    // The position is the loop's own: its memory goes with it (a loop
    // started again sets it afresh).
    std::string().swap(uci_start);
    std::vector<std::string>().swap(uci_moves);
}
