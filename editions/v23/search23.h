// editions/v23/search23.h: edition 2.3's search: the driver tree_surf
// (search/driver.h), the time budget from the engine's clock, alpha-beta
// with a null move and the table probed for every child, the capture
// search at the leaves, and the move ordering (hash move, killers, the
// principal variation, captures by victim and attacker, history).
// Editions: 2.3.
#pragma once
#include "search/driver.h"

// The search never makes a move at this ply or deeper: a node there is
// scored as it stands, which keeps every per-ply array within MAX_PLY.
constexpr int SEARCH_LAST_PLY = 31;
static_assert(SEARCH_LAST_PLY <= MAX_PLY - 1);
constexpr int QUIESCE_MAX_DEPTH = 30;   // capture plies below a leaf
constexpr int NULL_MOVE_SEARCHES = 70;  // the null move is tried in the first searches of a game only
constexpr int KILLER_SLOTS = 3;
constexpr long CLOCK_INTERVAL = 1024;   // nodes between two readings of the clock
constexpr int MATE_FOUND = 9990;        // beyond this a root score is a forced mate
constexpr int DRAW_SCORE = 2;           // a repetition, a stalemate

// Move ordering scores.
constexpr int ORDER_CAPTURE = 1000000;     // plus the victim's code minus the attacker's
constexpr int ORDER_QUEENING = 1000000;
constexpr int ORDER_UNDERPROMOTION = 5000;
constexpr int ORDER_PV = 1000000;
constexpr int ORDER_KILLER = 1450000;      // minus the killer's slot
constexpr int ORDER_HASH = 2000000;

struct killer_slot {
    move_bytes m;
    int score;
};

// Per thread: every thread of a search orders its own moves.
extern constinit thread_local int follow_pv;    // still walking down the last iteration's line
extern constinit thread_local int history_table[64][64];                   // [from][to]
extern constinit thread_local killer_slot killer_moves[MAX_PLY][KILLER_SLOTS];   // best scores first

// Seconds for one move with `engine_clock_cs` centiseconds on the engine's
// clock; a game between its 33rd and 45th recorded half-move gets half more.
int time_budget(std::int64_t engine_clock_cs);

void clear_ordering23();   // history and killers
// The score of the position for the side to move, searched `depth` plies;
// `line` receives the best line. May throw search_timeout with moves made.
int alphabeta(int alpha, int beta, int depth, tagLINE* line);
int quiesce(int alpha, int beta, int qdepth, tagLINE* line);
// Whether a null move may be tried at this node (depth, check, the search
// counter, the men of the side to move, the moves just before).
bool null_move_allowed(int depth, bool in_check);
// Gives every move of the current ply its ordering score.
void score_moves();
