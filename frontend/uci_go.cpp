// frontend/uci_go.cpp: "go" in UCI mode. The search's thinking lines become
// "info" lines through line_hook, its poll (poll_hook) reads the input while
// it runs, and root_move_hook keeps the root to the moves a go allows.
// MultiPV N searches each depth N times, every further time without the
// first moves of the lines already found, so that MultiPV 1 is the search
// itself.
#include "frontend/uci_go.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/commands.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include "search/state.h"
#include "search/threads.h"
#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>

int ponder_option = 0;
int multipv_option = 1;

namespace {

constexpr int  RULE_ZERO_SHARE = 30;       // a clock rule that gives under a second: this share of the clock
constexpr std::int64_t INCREMENT_SHARE_NUM = 3, INCREMENT_SHARE_DEN = 4;   // of each increment, spent at once
constexpr std::int64_t INCREMENTS_ON_CLOCK = 10;   // the increment is spent while the clock holds more than this many
constexpr long CLOCK_SHARE = 10;           // with an increment a move never takes more than this share of the clock
constexpr long SUDDEN_DEATH_SHARE = 30;    // without one, this share: the clock must last the game
constexpr std::int64_t RESERVE_MS = 50;    // kept on the clock for the answer to travel
constexpr std::int64_t RESERVE_SHARE = 20; // and this share of the clock besides
constexpr std::size_t SHOWN_TEXT = 60;     // characters of a refused word repeated in an info string
constexpr std::size_t DEFERRED_LINES = 1000;   // lines kept during a search for after it
constexpr std::int64_t LONG_NUMBER = 1000000000;   // search numbers are clamped to this
constexpr int STATUS_EVERY_MS = 1000;      // a line with the counts and hashfull at least this often
constexpr int CURRMOVE_AFTER_MS = 1000;    // the move being searched is shown once the search has run this long
constexpr int CURRMOVE_EVERY_MS = 250;     // and at most once in this time

// What the poll found.
bool stop_requested, quit_requested;
bool input_ended;    // no more lines: a search that ends by itself still answers
std::deque<std::string> deferred;   // lines that came during a search, read after it

// The running go: its limits, and those that start at "ponderhit".
bool pondering;      // a "go ponder" that has had neither "ponderhit" nor "stop"
bool waits_for_stop; // "go infinite": the answer waits for "stop"
bool endless;        // the search ends only by a command: at the end of input it quits
bool endless_after_hit;
std::int64_t node_limit, node_limit_after_hit;
std::int64_t budget_after_hit;
int mate_plies;      // "go mate N": a mate within 2N - 1 plies ends the search; 0: none
bool mate_found;

// The go's own clock: MultiPV runs several searches, each of which starts
// the edition's clock afresh.
int go_start;
bool has_deadline;
int deadline;
std::int64_t nodes_before;   // nodes of this go's earlier searches
int last_status;     // get_ms of the last line that showed the counts
int last_currmove;

// Root moves: those searchmoves allows (empty: all) and the first moves of
// the lines already found at this depth, which the next line leaves out.
std::vector<move_bytes> root_allowed, root_shown;
int root_last_place, root_move_number;

// The last thinking line of the running search.
bool lines_kept_quiet;   // MultiPV: a line is printed once its search is done
int last_depth, last_score;
tagLINE last_line;
bool have_line;

int ms_since(int t) { return std::max(0, int(uint32_t(get_ms()) - uint32_t(t))); }
bool contains(const std::vector<move_bytes>& moves, move_bytes m) {
    return std::find(moves.begin(), moves.end(), m) != moves.end();
}

// ------------------------------------------------------------------ lines

// Every thread's nodes: the main thread's and what the helpers last published.
std::int64_t go_nodes() { return nodes_before + reported_nodes() + helper_nodes(); }

void print_score(int score) {
    if (score > NEAR_MATE || score < -NEAR_MATE) {
        const int moves = (MATE_SCORE - std::abs(score) + 1) / 2;
        std::printf(" score mate %d", score > 0 ? moves : -moves);
    } else {
        std::printf(" score cp %d", score);
    }
}

// The time, the nodes, the speed and how full the table is.
void print_counts() {
    const int t = ms_since(go_start);
    const std::int64_t n = go_nodes();
    std::printf(" time %d nodes %" PRId64 " nps %" PRId64 " hashfull %d", t, n, n * 1000 / std::max(t, 1),
                hash_fill_permille());
    last_status = get_ms();
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

// The number of the first line: 0 (no multipv field) with MultiPV 1.
int first_line_number() { return multipv_option > 1 ? 1 : 0; }

// `line_number` 0: no multipv field (MultiPV 1); with MultiPV above 1 every
// line has one, also when the position has a single legal move.
void print_info(int depth, int score, const tagLINE* line, int moves, int line_number) {
    std::printf("info depth %d seldepth %d", depth, sel_depth);
    if (line_number > 0) std::printf(" multipv %d", line_number);
    print_score(score);
    print_counts();
    print_legal_moves(line, moves);
    std::printf("\n");
    std::fflush(stdout);
}

// A line printed at ply 0; a summary some edition prints while it still
// takes its line back is left out (the final info line stands for it).
void thinking_line(int depth, int score, const tagLINE* line, int moves, std::int64_t /*node_count*/) {
    if (ply != 0) return;
    last_depth = depth;
    last_score = score;
    last_line = *line;
    last_line.count = std::clamp(moves, 0, MAX_LINE);
    have_line = true;
    // A bound found at the root is proven too: a mate at least this near.
    if (mate_plies > 0 && score >= MATE_SCORE - mate_plies) mate_found = true;
    if (!lines_kept_quiet) print_info(depth, score, line, moves, first_line_number());
}

// At the root, while the search runs past CURRMOVE_AFTER_MS, the move it
// is on now and then.
void show_current_move(move_bytes m) {
    if (ms_since(go_start) < CURRMOVE_AFTER_MS || ms_since(last_currmove) < CURRMOVE_EVERY_MS) return;
    last_currmove = get_ms();
    std::printf("info currmove ");
    print_move(m);
    std::printf(" currmovenumber %d\n", root_move_number);
    std::fflush(stdout);
}

// The root moves this search looks at: those searchmoves allows, less the
// first moves of the lines shown at this depth. The helpers ask this alone.
bool root_move_searched(move_bytes m, int /*list_place*/) {
    return (root_allowed.empty() || contains(root_allowed, m)) && !contains(root_shown, m);
}

// Each pass over the root's list goes from its first place on: a place no
// later than the last one asked starts the count again.
bool root_move_allowed(move_bytes m, int list_place) {
    if (!root_move_searched(m, list_place)) return false;
    if (list_place <= root_last_place) root_move_number = 0;
    root_last_place = list_place;
    root_move_number++;
    show_current_move(m);
    return true;
}

// ------------------------------------------------------------------ poll

// The budget of a search that starts now, or of the rest of a running one.
void start_clock(std::int64_t budget) {
    has_deadline = budget > 0;
    deadline = int(uint32_t(get_ms()) + uint32_t(budget));
    budget_ms = int(budget);
    if (has_deadline) stop_time = deadline;   // a running search reads its deadline here
}

void ponder_hit() {
    pondering = false;
    endless = endless_after_hit;
    node_limit = node_limit_after_hit;
    start_clock(budget_after_hit);
}

// A line that came while the search runs: "stop" and "quit" end it,
// "ponderhit" starts its clock, "isready" is answered, anything else waits
// for the search to end. True when the search is to end.
bool handle_line_in_search(const std::string& line) {
    std::string rest;
    const std::string word = first_word(line, &rest);
    if (word == "stop") return stop_requested = true;
    if (word == "quit") return quit_requested = true;
    if (word == "ponderhit") {
        if (pondering) ponder_hit();
    } else if (word == "isready") {
        say("readyok");
    } else if (!word.empty() && deferred.size() < DEFERRED_LINES) {
        deferred.push_back(line);
    }
    return false;
}

// A limit of the go is reached: its nodes, its mate, or its clock.
bool limit_reached() {
    return (node_limit > 0 && go_nodes() >= node_limit) || mate_found || (budget_ms > 0 && time_is_up());
}

int search_poll() {
    if (limit_reached()) return 1;
    if (ms_since(last_status) >= STATUS_EVERY_MS) {
        std::printf("info");
        print_counts();
        std::printf("\n");
        std::fflush(stdout);
    }
    std::string line;
    while (!input_ended && line_ready()) {
        if (!read_line(line)) {
            // The end of input: a search with a limit still finishes and
            // answers; one that waits for a command would never end.
            input_ended = true;
            return endless ? (quit_requested = true) : false;
        }
        if (handle_line_in_search(line)) return 1;
    }
    return 0;
}

// The search is over, or has to be: a command ended it, or a limit of the go.
bool go_is_over() { return stop_requested || quit_requested || limit_reached(); }

// "go infinite" answers only after "stop", "go ponder" after "ponderhit" or
// "stop": waits, answering "isready"; false when "quit" or the end of input
// came instead.
bool wait_for_answer_command() {
    std::string line;
    while (!stop_requested && !quit_requested && (pondering || waits_for_stop)) {
        if (input_ended || !read_line(line)) return false;
        handle_line_in_search(line);
    }
    return !quit_requested;
}

// ------------------------------------------------------------------ go words

// The number after a "go" word; false (with an info string) when there is none.
bool go_number(const std::vector<std::string>& w, std::size_t* i, std::int64_t* value) {
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
    *value = std::clamp<std::int64_t>(n, -LONG_NUMBER, LONG_NUMBER);
    return true;
}

bool is_go_word(const std::string& w) {
    for (const char* k : {"depth", "movetime", "wtime", "btime", "winc", "binc", "movestogo", "nodes", "mate",
                          "infinite", "ponder", "searchmoves"})
        if (w == k) return true;
    return false;
}

// ------------------------------------------------------------------ root

// The legal root move a searchmoves word names, or none.
move_bytes legal_root_move(const std::string& word) {
    const int i = find_typed_move(word, XBOARD_LETTERS);
    if (i < 0 || !makemove(gen_dat[i].m)) return move_bytes{};
    takeback();
    return gen_dat[i].m;
}

// root_allowed from searchmoves; ply 0's list must be current.
void restrict_root(const go_limits& go) {
    root_allowed.clear();
    if (!go.restricted) return;
    for (const std::string& w : go.searchmoves) {
        const move_bytes m = legal_root_move(w);
        if (move_value(m) == 0) info_string("searchmoves: " + shown(w) + " is not a legal move here, ignored");
        else if (!contains(root_allowed, m)) root_allowed.push_back(m);
    }
    if (root_allowed.empty()) info_string("searchmoves: no legal move given, every move is searched");
}

// The legal root moves the go allows, and the first of them.
int allowed_root_moves(move_bytes* first) {
    int count = 0;
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (!root_allowed.empty() && !contains(root_allowed, m)) continue;
        if (!makemove(m)) continue;
        takeback();
        if (count++ == 0) *first = m;
    }
    return count;
}

// The reply the engine expects after `best`, when it is legal there: the
// line's second move, or when the line ends at `best` (a table answer cut it
// short, as it often does with several threads) or starts with another move,
// the table's move for the position after it. None otherwise. Ply 0's list
// must be current; it is again afterwards.
move_bytes expected_reply(move_bytes best, const tagLINE& line) {
    const int i = find_listed_move(best.from, best.to, best.promote);
    if (move_value(best) == 0 || i < 0 || !makemove(gen_dat[i].m)) return move_bytes{};
    Move2Gen();
    const move_bytes r = line.count >= 2 && line.moves[0] == best ? line.moves[1] : to_move(table_move());
    const int j = move_value(r) == 0 ? -1 : find_listed_move(r.from, r.to, r.promote);
    move_bytes reply{};
    if (j >= 0 && makemove(gen_dat[j].m)) {
        reply = gen_dat[j].m;
        takeback();
    }
    takeback();
    Move2Gen();
    return reply;
}

// ------------------------------------------------------------------ search

// The last thinking line again with the final counts; when the search
// changed its mind after it (a move that became best in an unfinished
// iteration), the move it plays leads the line.
void print_final_info(move_bytes best) {
    if (!have_line) return;
    if (move_value(best) != 0 && !(best == last_line.moves[0])) {
        last_line = var_princ;
        last_line.count = std::max(var_princ.count, 1);
    }
    print_info(last_depth, last_score, &last_line, last_line.count, first_line_number());
}

// One search of the position up to `depth`, on what is left of the go's
// budget; false when that is nothing.
bool search_to(int depth) {
    std::int64_t budget = 0;
    if (has_deadline) {
        budget = int(uint32_t(deadline) - uint32_t(get_ms()));
        if (budget <= 0) return false;
    }
    budget_ms = int(budget);
    max_depth = depth;
    have_line = false;
    sel_depth = 0;
    root_last_place = INT_MAX;
    book_on = 0;
    tree_surf(1);
    ply = 0;
    Move2Gen();
    return true;
}

// MultiPV 1: the search as it is; its line is `line`.
move_bytes search_one_line(int depth_limit, tagLINE* line) {
    search_to(depth_limit);
    const move_bytes best = var_princ.moves[0];
    print_final_info(best);
    if (have_line) *line = last_line;
    return best;
}

// MultiPV N: every depth is searched `lines` times, each time without the
// first moves of the lines found before at that depth, each line printed
// as its search ends. The move is line 1's, of the deepest search that
// gave one; `line` is line 1.
move_bytes search_lines(int lines, int depth_limit, tagLINE* line) {
    lines_kept_quiet = true;
    move_bytes best{};
    int best_depth = 0;
    for (int depth = 1; depth <= std::min(depth_limit, MAX_ITERATION) && !go_is_over(); depth++) {
        root_shown.clear();
        for (int k = 1; k <= lines && !go_is_over(); k++) {
            nodes_before = go_nodes();
            if (!search_to(depth)) break;
            if (!have_line || move_value(last_line.moves[0]) == 0) break;
            // A search cut short before it came back to this depth says
            // less than the line found before it.
            if (go_is_over() && last_depth < depth) break;
            if (k == 1 && last_depth >= best_depth) {
                best = var_princ.moves[0];
                best_depth = last_depth;
                *line = last_line;
            }
            print_info(last_depth, last_score, &last_line, last_line.count, k);
            root_shown.push_back(last_line.moves[0]);
        }
    }
    lines_kept_quiet = false;
    root_shown.clear();
    return best;
}

void print_bestmove(move_bytes best, move_bytes reply) {
    std::printf("bestmove ");
    if (move_value(best) == 0) std::printf("0000");
    else print_move(best);
    if (move_value(reply) != 0) {
        std::printf(" ponder ");
        print_move(reply);
    }
    std::printf("\n");
    std::fflush(stdout);
}

}  // namespace

// ------------------------------------------------------------------ exported

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

go_limits parse_go(const std::string& rest) {
    go_limits go;
    const std::vector<std::string> w = words_of(rest);
    for (std::size_t i = 0; i < w.size(); i++) {
        const std::string& k = w[i];
        std::int64_t* amount = k == "movetime" ? &go.movetime
                               : k == "wtime"  ? &go.wtime
                               : k == "btime"  ? &go.btime
                               : k == "winc"   ? &go.winc
                               : k == "binc"   ? &go.binc
                               : k == "nodes"  ? &go.nodes
                                               : nullptr;
        long* count = k == "depth"       ? &go.depth
                      : k == "movestogo" ? &go.movestogo
                      : k == "mate"      ? &go.mate
                                         : nullptr;
        std::int64_t n;
        if (k == "searchmoves") {
            go.restricted = true;
            while (i + 1 < w.size() && !is_go_word(w[i + 1])) go.searchmoves.push_back(w[++i]);
        } else if (!amount && !count) {
            if (k == "infinite") go.infinite = true;
            else if (k == "ponder") go.ponder = true;
            else info_string("go: " + shown(k) + " ignored");
        } else if (go_number(w, &i, &n)) {
            if ((count || amount == &go.nodes) && n < 0) info_string("go: " + k + " " + std::to_string(n) + " ignored");
            else if (amount) *amount = n;   // a clock below zero is a clock with no time left
            else *count = long(n);          // within +-LONG_NUMBER: it fits
        }
    }
    return go;
}

std::int64_t budget_for(const go_limits& go) {
    if (go.movetime != NOT_GIVEN) return std::max<std::int64_t>(go.movetime, 1);
    const std::int64_t own_given = side == LIGHT ? go.wtime : go.btime;
    if (own_given == NOT_GIVEN || go.infinite) return 0;
    const std::int64_t own = std::max<std::int64_t>(own_given, 0);
    const std::int64_t other = std::max<std::int64_t>(side == LIGHT ? go.btime : go.wtime, 0);
    const std::int64_t inc = std::max<std::int64_t>(side == LIGHT ? go.winc : go.binc, 0);
    // The increment is spent only while the clock holds several of them: a
    // low clock grows back, so that a move slowed down by a busy machine
    // still comes in time.
    const std::int64_t inc_share = own > INCREMENTS_ON_CLOCK * inc ? inc * INCREMENT_SHARE_NUM / INCREMENT_SHARE_DEN : 0;
    tree_surf_time(other / MS_PER_CS, own / MS_PER_CS);
    std::int64_t base = std::int64_t(max_time) * 1000;
    if (base <= 0) base = own / RULE_ZERO_SHARE;
    if (go.movestogo > 0) base = std::min(base, own / go.movestogo);
    // The hard limit: a share of what is left (all of it split among the
    // moves to go, when they are few), and never the reserve.
    const long share = go.movestogo > 0 && go.movestogo < CLOCK_SHARE ? go.movestogo + 1
                       : inc > 0 || go.movestogo > 0                   ? CLOCK_SHARE
                                                                       : SUDDEN_DEATH_SHARE;
    const std::int64_t reserve = std::min(own / 2, RESERVE_MS + own / RESERVE_SHARE);
    const std::int64_t hard = std::min(own / share + inc_share, own - reserve);
    return std::max<std::int64_t>(std::min(base + inc_share, hard), 1);
}

bool cmd_go(const std::string& rest) {
    const go_limits go = parse_go(rest);
    stop_requested = quit_requested = have_line = mate_found = false;
    computer_side = side;
    ply = 0;
    Move2Gen();
    restrict_root(go);
    move_bytes first{};
    const int legal = allowed_root_moves(&first);

    const std::int64_t budget = budget_for(go);   // it sets max_time by the edition's clock rule: put back below
    max_time = NO_LIMIT;
    const int depth_limit = go.depth > 0 ? int(std::min<long>(go.depth, MAX_ITERATION))
                            : go.mate > 0 ? MAX_ITERATION
                                          : NO_LIMIT;
    mate_plies = go.mate > 0 ? int(2 * std::min<long>(go.mate, MAX_ITERATION) - 1) : 0;
    pondering = go.ponder;
    waits_for_stop = go.infinite;
    budget_after_hit = budget;
    node_limit_after_hit = go.nodes > 0 ? go.nodes : 0;
    endless_after_hit = go.infinite || (budget == 0 && go.nodes <= 0 && go.depth <= 0 && go.mate <= 0);
    endless = pondering || endless_after_hit;
    node_limit = pondering ? 0 : node_limit_after_hit;
    go_start = last_status = last_currmove = get_ms();
    nodes_before = 0;
    start_clock(pondering ? 0 : budget);

    move_bytes best{};
    tagLINE line{};
    if (!pondering && own_book && budget > 0 && !go.infinite && root_allowed.empty() && mate_plies == 0 &&
        game_plies < BOOK_PLY_LIMIT && book_move(side)) {
        best = var_princ.moves[0];
        info_string("book move");
    } else {
        poll_hook = search_poll;
        root_move_hook = root_move_allowed;
        helper_root_filter = root_move_searched;
        const int lines = std::min(multipv_option, legal);
        best = lines > 1 ? search_lines(lines, depth_limit, &line) : search_one_line(depth_limit, &line);
        poll_hook = nullptr;
        root_move_hook = nullptr;
        helper_root_filter = nullptr;
        if (quit_requested) return false;
    }
    computer_side = EMPTY;
    budget_ms = 0;
    if (move_value(best) == 0) best = first;   // stopped before any move became best
    if (!wait_for_answer_command()) return false;
    print_bestmove(best, ponder_option ? expected_reply(best, line) : move_bytes{});
    return true;
}

bool next_line(std::string& line) {
    if (!deferred.empty()) {
        line = deferred.front();
        deferred.pop_front();
        return true;
    }
    return read_line(line);
}

void go_begin() {
    line_hook = thinking_line;
    deferred.clear();
    input_ended = false;
}

void go_end() {
    line_hook = nullptr;
    budget_ms = 0;
    std::deque<std::string>().swap(deferred);
}
