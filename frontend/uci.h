// frontend/uci.h: the engine side of the Universal Chess Interface, entered
// from the console word "uci": the handshake and the options, positions
// given as a start and a move list, and "go" (frontend/uci_go.cpp) with its
// limits, a search that answers "stop", "ponderhit", "isready" and "quit"
// while it runs.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A position command's start ("startpos", or the six fields of a FEN) and
// the moves played from it, as far as they were legal: the position on the
// board. A new position that extends it is reached by playing only the new
// moves, so the game and the tables carry on.
// The main thread's alone (the front end's state; no search thread reads it).
extern std::string uci_start;
extern std::vector<std::string> uci_moves;

// The options besides Hash (the table's own size) and Threads (always 1).
extern int own_book;         // OwnBook: timed searches may answer from open.dat
extern int ponder_option;    // Ponder: "bestmove" names the reply the engine expects
extern int multipv_option;   // MultiPV: the best root moves a search reports, each with its line
constexpr int MAX_MULTIPV = 256;

constexpr std::int64_t NOT_GIVEN = INT64_MIN;   // a "go" number that was not sent

// One "go": its limits as given. The times (milliseconds) and the node
// limit are 64-bit in every build, for the sums made of them; the depth and
// the move counts are small.
struct go_limits {
    long depth = 0, movestogo = 0;
    long mate = 0;                         // moves of a mate to look for; 0: none
    std::int64_t movetime = NOT_GIVEN, wtime = NOT_GIVEN, btime = NOT_GIVEN;
    std::int64_t winc = 0, binc = 0, nodes = 0;
    bool infinite = false, ponder = false;
    bool restricted = false;               // "searchmoves" was given, with these words
    std::vector<std::string> searchmoves;
};

void uci();   // runs until "quit" or the end of input
// The search budget in milliseconds of a "go", for the side to move: its
// movetime, or with clocks the edition's clock rule and a share of the
// increment (while the clock holds ten of them), never more than a share of
// the clock (a tenth with an increment, a thirtieth without, more when few
// moves are to go) nor the clock less a reserve; 0 when the go has neither
// movetime nor clocks.
std::int64_t budget_for(const go_limits& go);
