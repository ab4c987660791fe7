// frontend/uci.cpp: the UCI loop of every edition. After "uciok" the program
// prints UCI lines only: the search's thinking lines become "info" lines
// through line_hook, and its poll (poll_hook) reads the input while it runs.
#include "frontend/uci.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/commands.h"
#include "frontend/console.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include "search/state.h"
#include <algorithm>
#include <cctype>
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>

std::string uci_start;
std::vector<std::string> uci_moves;
int own_book = 1;

namespace {

constexpr int  RULE_ZERO_SHARE = 30;       // a clock rule that gives under a second: this share of the clock
constexpr long INCREMENT_SHARE_NUM = 3, INCREMENT_SHARE_DEN = 4;   // of each increment, spent at once
constexpr long INCREMENTS_ON_CLOCK = 10;   // the increment is spent while the clock holds more than this many
constexpr long CLOCK_SHARE = 10;           // with an increment a move never takes more than this share of the clock
constexpr long SUDDEN_DEATH_SHARE = 30;    // without one, this share: the clock must last the game
constexpr long RESERVE_MS = 50;            // kept on the clock for the answer to travel
constexpr long RESERVE_SHARE = 20;         // and this share of the clock besides
constexpr std::size_t SHOWN_TEXT = 60;     // characters of a refused word repeated in an info string
constexpr std::size_t DEFERRED_LINES = 1000;   // lines kept during a search for after it
constexpr long LONG_NUMBER = 1000000000L;  // search numbers are clamped to this

// What the search's poll found, and the limits of the running "go".
bool stop_requested, quit_requested;
bool input_ended;    // no more lines: a search that ends by itself still answers
long node_limit;
bool endless;        // a search that only "stop" ends
std::deque<std::string> deferred;   // lines that came during a search, read after it

// The last thinking line, repeated with the final counts when the search ends.
int last_depth, last_score;
tagLINE last_line;
bool have_line;

// A word of the input, made safe to repeat in a line: printable characters,
// at most SHOWN_TEXT of them.
std::string shown(const std::string& text) {
    std::string out;
    for (char c : text.substr(0, SHOWN_TEXT)) out.push_back(c >= ' ' && c <= '~' ? c : '?');
    if (text.size() > SHOWN_TEXT) out += "...";
    return out;
}

void say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void info_string(const std::string& text) {
    std::printf("info string %s\n", text.c_str());
    std::fflush(stdout);
}

// ------------------------------------------------------------------ thinking

int elapsed_ms() { return std::max(0, int(uint32_t(get_ms()) - uint32_t(start_time))); }

void print_score(int score) {
    if (score > NEAR_MATE || score < -NEAR_MATE) {
        const int moves = (MATE_SCORE - std::abs(score) + 1) / 2;
        std::printf(" score mate %d", score > 0 ? moves : -moves);
    } else {
        std::printf(" score cp %d", score);
    }
}

// Prints the moves of the line that are legal one after the other from
// the root (ply 0, whose list is current): the end of the line may be left
// over from an earlier search. Every move made is taken back.
void print_legal_moves(const tagLINE* line, int moves) {
    const int limit = std::min({moves, MAX_LINE, MAX_PLY - 2});
    int made = 0;
    for (; made < limit; made++) {
        if (made > 0) Move2Gen();
        const move_bytes m = line->moves[made];
        const int i = find_listed_move(m.from, m.to, m.promote);
        if (i < 0 || !makemove(gen_dat[i].m)) break;
        std::printf(made == 0 ? " pv " : " ");
        print_move(gen_dat[i].m);
    }
    while (made-- > 0) takeback();
}

void print_info(int depth, int score, const tagLINE* line, int moves, long node_count) {
    const int t = elapsed_ms();
    std::printf("info depth %d", depth);
    print_score(score);
    std::printf(" time %d nodes %ld nps %ld", t, node_count, node_count * 1000 / std::max(t, 1));
    print_legal_moves(line, moves);
    std::printf("\n");
    std::fflush(stdout);
}

// A line printed at ply 0; a summary some edition prints while it still
// takes its line back is left out (the final info line stands for it).
void thinking_line(int depth, int score, const tagLINE* line, int moves, long node_count) {
    if (ply != 0) return;
    last_depth = depth;
    last_score = score;
    last_line = *line;
    last_line.count = std::clamp(moves, 0, MAX_LINE);
    have_line = true;
    print_info(depth, score, line, moves, node_count);
}

// ------------------------------------------------------------------ poll

// A line that came while the search runs: "stop" and "quit" end it,
// "isready" is answered, anything else waits for the search to end.
bool handle_line_in_search(const std::string& line) {
    std::string rest;
    const std::string word = first_word(line, &rest);
    if (word == "stop") return stop_requested = true;
    if (word == "quit") return quit_requested = true;
    if (word == "isready") say("readyok");
    else if (!word.empty() && deferred.size() < DEFERRED_LINES) deferred.push_back(line);
    return false;
}

int search_poll() {
    if (node_limit > 0 && reported_nodes() >= node_limit) return 1;
    if (budget_ms > 0 && time_is_up()) return 1;
    std::string line;
    while (!input_ended && line_ready()) {
        if (!read_line(line)) {
            // The end of input: a search with a limit still finishes and
            // answers; one that waits for "stop" would never end.
            input_ended = true;
            return endless ? (quit_requested = true) : false;
        }
        if (handle_line_in_search(line)) return 1;
    }
    return 0;
}

// The next command: a line put off during a search, or the next input line.
bool next_line(std::string& line) {
    if (!deferred.empty()) {
        line = deferred.front();
        deferred.pop_front();
        return true;
    }
    return read_line(line);
}

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

// ------------------------------------------------------------------ go

// The number after a "go" word; false (with an info string) when there is none.
bool go_number(const std::vector<std::string>& w, std::size_t* i, long* value) {
    const std::string& key = w[*i];
    if (*i + 1 >= w.size()) {
        info_string("go: " + key + " needs a number");
        return false;
    }
    const std::string& text = w[++*i];
    char* end = nullptr;
    const long long n = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0') {
        info_string("go: " + key + " needs a number, not " + shown(text));
        return false;
    }
    *value = long(std::clamp<long long>(n, -LONG_NUMBER, LONG_NUMBER));
    return true;
}

go_limits parse_go(const std::string& rest) {
    go_limits go;
    const std::vector<std::string> w = words_of(rest);
    for (std::size_t i = 0; i < w.size(); i++) {
        const std::string& k = w[i];
        long* field = k == "depth"       ? &go.depth
                      : k == "movetime"  ? &go.movetime
                      : k == "wtime"     ? &go.wtime
                      : k == "btime"     ? &go.btime
                      : k == "winc"      ? &go.winc
                      : k == "binc"      ? &go.binc
                      : k == "movestogo" ? &go.movestogo
                      : k == "nodes"     ? &go.nodes
                                         : nullptr;
        const bool counts = field == &go.depth || field == &go.nodes || field == &go.movestogo;
        long n;
        if (!field) {
            if (k == "infinite") go.infinite = true;
            else if (k != "ponder") info_string("go: " + shown(k) + " ignored");
        } else if (go_number(w, &i, &n)) {
            if (counts && n < 0) info_string("go: " + k + " " + std::to_string(n) + " ignored");
            else *field = n;   // a clock below zero is a clock with no time left
        }
    }
    return go;
}

// "go infinite" answers only after "stop": waits for it, answering
// "isready"; false when "quit" or the end of input came instead.
bool wait_for_stop() {
    std::string line;
    while (!stop_requested && !quit_requested) {
        if (input_ended || !read_line(line)) return false;
        handle_line_in_search(line);
    }
    return !quit_requested;
}

// The last thinking line again with the final counts; when the search
// changed its mind after it (a move that became best in an unfinished
// iteration), the move it plays leads the line.
void print_final_info(move_bytes best) {
    if (!have_line) return;
    if (move_value(best) != 0 && !(best == last_line.moves[0])) {
        last_line = var_princ;
        last_line.count = std::max(var_princ.count, 1);
    }
    print_info(last_depth, last_score, &last_line, last_line.count, reported_nodes());
}

// Searches, and prints the one "bestmove"; false on "quit".
bool cmd_go(const std::string& rest) {
    const go_limits go = parse_go(rest);
    stop_requested = quit_requested = have_line = false;
    budget_ms = int(budget_for(go));
    node_limit = go.nodes > 0 ? go.nodes : 0;
    endless = go.infinite || (budget_ms == 0 && node_limit == 0 && go.depth <= 0);
    max_time = NO_LIMIT;
    max_depth = go.depth > 0 ? int(std::min<long>(go.depth, MAX_ITERATION)) : NO_LIMIT;
    computer_side = side;
    ply = 0;
    Move2Gen();

    move_bytes best{};
    if (own_book && budget_ms > 0 && !go.infinite && game_plies < BOOK_PLY_LIMIT && book_move(side)) {
        best = var_princ.moves[0];
        info_string("book move");
    } else {
        book_on = 0;
        poll_hook = search_poll;
        tree_surf(1);
        poll_hook = nullptr;
        if (quit_requested) return false;
        best = var_princ.moves[0];
        ply = 0;
        Move2Gen();
        print_final_info(best);
    }
    computer_side = EMPTY;
    if (move_value(best) == 0) best = first_legal_move();   // stopped before any move became best
    if (go.infinite && !wait_for_stop()) return false;
    std::printf("bestmove ");
    if (move_value(best) == 0) std::printf("0000");
    else print_move(best);
    std::printf("\n");
    std::fflush(stdout);
    return true;
}

// ------------------------------------------------------------------ the rest

void cmd_setoption(const std::string& rest) {
    const std::vector<std::string> w = words_of(rest);
    std::string name, value;
    std::size_t i = 0;
    if (i < w.size() && w[i] == "name") i++;
    for (; i < w.size() && w[i] != "value"; i++) name += (name.empty() ? "" : " ") + w[i];
    for (i++; i < w.size(); i++) value += (value.empty() ? "" : " ") + w[i];
    std::string lower = name;
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lower != "ownbook") return;   // options this engine does not have are ignored
    if (value == "true") own_book = 1;
    else if (value == "false") own_book = 0;
    else info_string("OwnBook is true or false, not " + shown(value));
}

void identify() {
    std::printf("id name Zorvu %s\n", EDITION_NUMBER);
    std::printf("id author %s\n", AUTHOR);
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

long budget_for(const go_limits& go) {
    if (go.movetime != NOT_GIVEN) return std::max(go.movetime, 1L);
    const long own_given = side == LIGHT ? go.wtime : go.btime;
    if (own_given == NOT_GIVEN || go.infinite) return 0;
    const long own = std::max(own_given, 0L);
    const long other = std::max(side == LIGHT ? go.btime : go.wtime, 0L);
    const long inc = std::max(side == LIGHT ? go.winc : go.binc, 0L);
    // The increment is spent only while the clock holds several of them: a
    // low clock grows back, so that a move slowed down by a busy machine
    // still comes in time.
    const long inc_share = own > INCREMENTS_ON_CLOCK * inc ? inc * INCREMENT_SHARE_NUM / INCREMENT_SHARE_DEN : 0;
    tree_surf_time(other / MS_PER_CS, own / MS_PER_CS);
    long base = long(max_time) * 1000;
    if (base <= 0) base = own / RULE_ZERO_SHARE;
    if (go.movestogo > 0) base = std::min(base, own / go.movestogo);
    // The hard limit: a share of what is left (all of it split among the
    // moves to go, when they are few), and never the reserve.
    const long share = go.movestogo > 0 && go.movestogo < CLOCK_SHARE ? go.movestogo + 1
                       : inc > 0 || go.movestogo > 0                   ? CLOCK_SHARE
                                                                       : SUDDEN_DEATH_SHARE;
    const long reserve = std::min(own / 2, RESERVE_MS + own / RESERVE_SHARE);
    const long hard = std::min(own / share + inc_share, own - reserve);
    return std::max(std::min(base + inc_share, hard), 1L);
}

void uci() {
    // Interfaces may send SIGINT; the engine answers "stop" instead.
    std::signal(SIGINT, SIG_IGN);
    std::printf("\n");   // ends the prompt's line
    identify();
    line_hook = thinking_line;
    deferred.clear();
    input_ended = false;
    own_book = 1;
    book_mark = 0;
    computer_side = EMPTY;
    uci_new_game();
    std::string line;
    while (next_line(line))
        if (!uci_command(line)) break;
    line_hook = nullptr;   // the hooks and the budget are the console's again
    budget_ms = 0;
    // The position and the kept lines are the loop's own: their memory goes
    // with it (a loop started again sets them afresh).
    std::string().swap(uci_start);
    std::vector<std::string>().swap(uci_moves);
    std::deque<std::string>().swap(deferred);
}
