// Helpers for the search and book tests: setting up a position for a search,
// keeping the search settings a test changes, and reading printed lines.
#pragma once
#include "board/fen.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/ordering.h"
#include <gtest/gtest.h>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace search_test {

// Everything a search test may change that outlives it: the limits, the
// engine's colour, the phase flag, the window carried between searches, the
// book switch and the per-search state read by alphabeta and quiesce.
class saved_settings {
public:
    saved_settings()
        : max_time_(max_time), max_depth_(max_depth), computer_side_(computer_side), is_endgame_(is_endgame),
          minki_(minki), maxkf_(maxkf), book_on_(book_on), silencio_(silencio), mdpth_(mdpth),
          follow_pv_(follow_pv), stop_time_(stop_time), chk_counter_(chk_counter) {}
    ~saved_settings() {
        max_time = max_time_;
        max_depth = max_depth_;
        computer_side = computer_side_;
        is_endgame = is_endgame_;
        minki = minki_;
        maxkf = maxkf_;
        book_on = book_on_;
        silencio = silencio_;
        mdpth = mdpth_;
        follow_pv = follow_pv_;
        stop_time = stop_time_;
        chk_counter = chk_counter_;
        ply = 0;
    }
    saved_settings(const saved_settings&) = delete;
    saved_settings& operator=(const saved_settings&) = delete;

private:
    int max_time_, max_depth_, computer_side_, is_endgame_, minki_, maxkf_, book_on_, silencio_, mdpth_,
        follow_pv_, stop_time_, chk_counter_;
};

// Sets up a position as the front end does before a search: the FEN, then
// the moves of ply 0. The piece keys are drawn as in a fresh run and the
// undo records are emptied, so that a search (its table slots, and what
// stale records hold) goes the same way whichever tests ran before.
inline void set_position(const char* fen) {
    rand_started = 0;
    std::memset(hist_dat, 0, sizeof hist_dat);
    ASSERT_EQ(process_fen(fen), 1) << fen;
    ply = 0;
    Move2Gen();
}

// A search that starts from known settings: no book, the program's initial
// window, the engine playing neither side.
inline void plain_search_settings(int depth, int seconds) {
    max_depth = depth;
    max_time = seconds;
    book_on = 0;
    computer_side = EMPTY;
    minki = -150;
    maxkf = 150;
}

// State for calling alphabeta or quiesce directly, outside tree_surf: a clock
// that will not run out, no principal variation to follow.
inline void direct_search_state(int iteration) {
    silencio = 1;
    follow_pv = 0;
    chk_counter = 0;
    stop_time = int(unsigned(get_ms()) + 3600000u);
    mdpth = iteration;
}

inline std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Coordinates of a move as the engine prints it ("e2e4").
inline std::string coordinates(move_bytes m) {
    std::string s;
    s += char('a' + (m.from & 7));
    s += char('8' - (m.from >> 3));
    s += char('a' + (m.to & 7));
    s += char('8' - (m.to >> 3));
    return s;
}

// The legal moves of the current position, as coordinates. Needs the
// current ply's list to be generated.
inline std::vector<std::string> legal_moves() {
    std::vector<std::string> out;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        takeback();
        out.push_back(coordinates(gen_dat[i].m));
    }
    return out;
}

}  // namespace search_test
