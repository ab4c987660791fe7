// editions/v23/search23.cpp: edition 2.3's search: the driver with its
// aspiration window, alpha-beta, the capture search and the move ordering.
#include "editions/v23/search23.h"
#include "board/position.h"
#include "book/book.h"
#include "editions/v23/game.h"
#include "editions/v23/moves23.h"
#include "editions/v23/table.h"
#include "eval/eval.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/threads.h"
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>

constinit thread_local int follow_pv{};
constinit thread_local int history_table[64][64]{};
constinit thread_local killer_slot killer_moves[MAX_PLY][KILLER_SLOTS]{};

namespace {

constexpr int NO_SCORE = -MATE_SCORE - 1;   // below anything a node returns
constexpr int FRESH_GAIN = 3000;            // a hash move that gained more is searched a ply less
constexpr int TABLE_BOUND_DEPTH = 5;        // a bound from the table replaces a search only deeper than this
constexpr int WINDOW_NEAR = 1;              // after a first failure the window reaches this far back

// ---------------------------------------------------------------- ordering

bool is_null_record(const hist_rec& r) { return r.castle == NULL_MARK && r.capture == EMPTY; }

// Captures first, the more valuable victim and the cheaper attacker
// earlier; quiet moves by their history.
int base_score(move_bytes m) {
    if (m.bits & MF_PROMOTE) return m.promote == QUEEN ? ORDER_QUEENING : ORDER_UNDERPROMOTION;
    if (m.bits & MF_CAPTURE) {
        const int victim = (m.bits & MF_EP) ? PAWN : piece[int(m.to)];
        return ORDER_CAPTURE + victim - piece[int(m.from)];
    }
    return history_table[int(m.from)][int(m.to)];
}

int killer_bonus(move_bytes m) {
    for (int slot = 0; slot < KILLER_SLOTS; slot++)
        if (killer_moves[ply][slot].m == m) return ORDER_KILLER - slot;
    return 0;
}

// Brings the highest-scoring move of i..end (the first among equals) to i.
void pick(int i) {
    int best = i;
    for (int j = i + 1; j < gen_end[ply]; j++)
        if (gen_dat[j].score > gen_dat[best].score) best = j;
    std::swap(gen_dat[i], gen_dat[best]);
}

// Keeps the three best-scoring moves of the ply, best first; a move
// already there only moves up.
void killer_update(int at_ply, move_bytes m, int score) {
    killer_slot* k = killer_moves[at_ply];
    int slot = KILLER_SLOTS - 1;
    for (int s = 0; s < KILLER_SLOTS; s++)
        if (k[s].m == m) {
            slot = s;
            break;
        }
    if (score <= k[slot].score) return;
    for (; slot > 0 && k[slot - 1].score < score; slot--) k[slot] = k[slot - 1];
    k[slot] = killer_slot{m, score};
}

// ---------------------------------------------------------------- nodes

void count_node() {
    poll_search(++nodes);
    if (nodes % CLOCK_INTERVAL == 0 && time_is_up()) leave_search();
}

bool has_piece(int s) {
    for (int sq = 0; sq < 64; sq++)
        if (color[sq] == s && piece[sq] >= KNIGHT && piece[sq] <= QUEEN) return true;
    return false;
}

// Legal moves of the current ply's list, counted up to two.
int legal_replies() {
    int legal = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply] && legal < 2; i++)
        if (makemove(gen_dat[i].m)) {
            takeback();
            legal++;
        }
    return legal;
}

// What a node's moves share.
struct node_info {
    int alpha, beta, depth;
    bool check;
    bool only_reply;
    bool fresh_hash_move;   // the stored best move once gained much over the one before it
};

// The move just made (ply is the child's) and the one before it took men
// of the same kind, from knight to queen: the exchange goes on.
bool recaptures_like_piece() {
    const hist_rec &last = hist_dat[ply - 1], &before = hist_dat[ply - 2];
    return last.capture >= KNIGHT && last.capture <= QUEEN && last.capture == before.capture &&
           !is_null_record(before);
}

// Plies the child of the move just made is searched less than its parent:
// one, one more for a hash move that once gained much (it is likely to hold
// again) and for a forced reply outside the first plies, none for an
// evasion among several or for a like-for-like recapture at the horizon.
int depth_step(const node_info& n, bool first) {
    int d = 1;
    if (n.fresh_hash_move && first && n.depth > 4) d++;
    if (n.check && !n.only_reply) d--;
    if (n.only_reply && ply > 2 && !is_null_record(hist_dat[ply - 2])) d++;
    if (n.depth == 1 && ply > 2 && recaptures_like_piece()) d--;
    return d;
}

// The table's answer for the position after move m, when it settles the
// move. Bounds settle it only in deep nodes, but always teach the history.
// A root move is settled only by what this search stored: every child is
// stored with the best score of its node so far, so after a search all the
// root's children hold the root's score, and taking those as answers would
// make the next search of the same root pick its first listed move.
bool table_score(const node_info& n, move_bytes m, int* score) {
    const std::optional<tt_entry> e = tt_probe(n.depth, ply == 1);
    if (!e) return false;
    int& h = history_table[int(m.from)][int(m.to)];
    bool settled = e->bound == TT_EXACT;
    if (e->bound == TT_UPPER && e->score < n.alpha) {
        h -= n.depth;
        settled = n.depth > TABLE_BOUND_DEPTH;
    } else if (e->bound == TT_LOWER && e->score >= n.beta) {
        h += n.depth;
        settled = n.depth > TABLE_BOUND_DEPTH;
    }
    if (settled) *score = e->score;
    return settled;
}

// The score of the move just made: a repetition, the table, or a search:
// the first move with the node's window, the others with a zero window on
// the best score so far. A searched move is stored at the child's slot
// with the best score so far.
int move_score(const node_info& n, bool first, int best, tagLINE* local) {
    local->count = 0;
    if (repetition()) return DRAW_SCORE;
    int s;
    if (table_score(n, hist_dat[ply - 1].m, &s)) return s;
    const int nd = std::max(0, n.depth - depth_step(n, first));
    if (first) {
        s = -alphabeta(-n.beta, -n.alpha, nd, local);
    } else {
        s = -alphabeta(-best - 1, -best, nd, local);
        // A move that beats the best so far is searched again with the
        // full window above it, whatever the depth: skipping the re-search
        // near the last iteration would let a fixed-depth search take the
        // last move to pass the zero window as best, whatever it was worth.
        if (s > best && s < n.beta) s = std::max(s, -alphabeta(-n.beta, -s, nd, local));
    }
    // The root's children are stored by the main thread alone: what a
    // helper stores there is the best score of its own root so far, which
    // the main thread, whose root settles its children only from this
    // search's entries, would take for the move's own.
    if (ply > 1 || thread_number == 0) tt_store(n.depth, std::max(best, s), n.alpha, n.beta);
    return s;
}

// The null move searched two plies less with the window just below beta;
// NO_SCORE when it cannot be made.
int null_move_score(int depth, int beta, tagLINE* local) {
    if (!makenullmove()) return NO_SCORE;
    local->count = 0;
    const int s = repetition() ? DRAW_SCORE : -alphabeta(-beta, 1 - beta, depth - 2, local);
    unmakenullmove();
    return s;
}

// ---------------------------------------------------------------- driver

// A search ended from inside the tree: the moves of the line still made
// are taken back, and the repetition stack is as the search found it.
void unwind(int kept_reps) {
    while (ply > 0) {
        if (is_null_record(hist_dat[ply - 1])) unmakenullmove();
        else takeback();
    }
    rep_count = kept_reps;
}

void prepare() {
    start_time = get_ms();
    stop_time = int(uint32_t(start_time) + uint32_t(search_budget_ms()));
    ply = 0;
    nodes = qnodes = 0;
    std::memset(&var_princ, 0, sizeof var_princ);
    clear_ordering23();
    eval_global = 0;
}

// After a failure the window is moved to the score, narrow on the side it
// failed from; a second failure at the same depth opens it wide.
void widen(int s, int failures) {
    if (failures > 0) {
        minki = -INITIAL_WINDOW;
        maxkf = INITIAL_WINDOW;
        chash[CHASH_WINDOW_RESET]++;
    } else if (s >= maxkf) {
        minki = s - WINDOW_NEAR;
        maxkf = s + ventana;
    } else {
        minki = s - ventana;
        maxkf = s + WINDOW_NEAR;
    }
}

// Searches one depth until the score falls inside the window; a mate
// found beyond the first two depths ends the search.
int search_depth(int depth) {
    for (int failures = 0;; failures++) {
        const int s = alphabeta(minki, maxkf, depth, &var_princ);
        if (depth > 2 && (s > MATE_FOUND || s < -MATE_FOUND)) leave_search();
        if (s > minki && s < maxkf) return s;
        widen(s, failures);
    }
}

void iterate() {
    for (int depth = 1; depth <= max_depth; depth++) {
        mdpth = depth;
        follow_pv = 1;
        const int s = search_depth(depth);
        minki = s - ventana;
        maxkf = s + ventana;
        eval_global = s;
        if (s > -MATE_SCORE) print_line(depth, s, &var_princ, std::min(depth, var_princ.count), nodes);
        // Without a legal move at the root, deeper iterations learn nothing.
        if (move_value(var_princ.moves[0]) == 0) return;
    }
}

}  // namespace

// ---------------------------------------------------------------- ordering

void clear_ordering23() {
    std::memset(history_table, 0, sizeof history_table);
    for (auto& slots : killer_moves)
        for (killer_slot& k : slots) k = killer_slot{move_bytes{}, NO_SCORE};
}

namespace {

// The hash move, then the killers, the principal variation (while the
// search still walks down it: ON_PV), captures and queenings, then the
// history. The search stays on the line below when the line's move is met.
template <bool ON_PV>
void score_list(move_bytes hash_move) {
    bool line_move_met = false;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        const move_bytes m = gen_dat[i].m;
        int s = base_score(m) + killer_bonus(m);
        if (ON_PV && !line_move_met && m == var_princ.moves[ply]) {
            s += ORDER_PV;
            line_move_met = true;
        }
        if (move_value(hash_move) != 0 && m == hash_move) s += ORDER_HASH;
        gen_dat[i].score = s;
    }
    follow_pv = line_move_met;
}

// Two loops, so that the nodes off the line, most of them, do not look for
// its move at every move.
void score_moves_with(move_bytes hash_move) {
    if (follow_pv) score_list<true>(hash_move);
    else score_list<false>(hash_move);
}

}  // namespace

void score_moves() {
    int gain;
    score_moves_with(tt_best_move(&gain));
}

// ---------------------------------------------------------------- search

bool null_move_allowed(int depth, bool in_check) {
    return !in_check && depth >= 3 && search_count < NULL_MOVE_SEARCHES && ply >= 2 &&
           !is_null_record(hist_dat[ply - 1]) && has_piece(side);
}

int alphabeta(int alpha, int beta, int depth, tagLINE* line) {
    line->count = 0;
    count_node();
    if (depth <= 0 || ply >= SEARCH_LAST_PLY) return quiesce(alpha, beta, 0, line);
    Move2Gen();
    const bool check = in_check(side);
    tagLINE local;
    if (null_move_allowed(depth, check)) {
        const int ns = null_move_score(depth, beta, &local);
        if (ns >= beta) {
            chash[CHASH_NULL_CUTOFF]++;
            return ns;
        }
    }
    // The table's move orders the moves and tells how deep the first goes.
    int gain;
    const move_bytes hash_move = tt_best_move(&gain);
    score_moves_with(hash_move);
    const node_info n{alpha, beta, depth, check, legal_replies() == 1, move_value(hash_move) != 0 && gain > FRESH_GAIN};

    int best = NO_SCORE, legal = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        pick(i);
        const move_bytes m = gen_dat[i].m;
        if (!makemove(m)) continue;
        if (skipped_at_root(m, i - gen_begin[0])) {
            takeback();
            continue;
        }
        tt_prefetch();   // the child looks its position up first
        legal++;
        if (!silencio) count_branch(legal);
        const int s = move_score(n, legal == 1, best, &local);
        takeback();
        killer_update(ply, m, s);
        if (s > best) {
            history_table[int(m.from)][int(m.to)] += depth;
            tt_record_move(m, best == NO_SCORE ? TT_FIRST_GAIN : s - best);
            best = s;
            set_line(line, m, local);
            if (s >= beta) return s;
        }
    }
    if (legal == 0) return check ? mated_in(ply) : DRAW_SCORE;
    return fifty >= FIFTY_MOVE_PLIES ? 0 : best;
}

int quiesce(int alpha, int beta, int qdepth, tagLINE* line) {
    note_ply_reached();
    line->count = 0;
    tt_prefetch();   // the move ordering reads the entry after the evaluation
    poll_search(++qnodes);
    if (ply >= SEARCH_LAST_PLY || qdepth >= QUIESCE_MAX_DEPTH) return eval(alpha, beta);
    const int stand_pat = eval(alpha, beta);
    if (stand_pat >= beta) return stand_pat;
    alpha = std::max(alpha, stand_pat);
    gen_captures();
    score_moves();
    tagLINE local;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        pick(i);
        const move_bytes m = gen_dat[i].m;
        if (!makemove(m)) continue;
        local.count = 0;
        const int s = repetition() ? DRAW_SCORE : -quiesce(-beta, -alpha, qdepth + 1, &local);
        takeback();
        killer_update(ply, m, s);
        if (s > alpha) {
            alpha = s;
            set_line(line, m, local);
            if (s >= beta) return s;
        }
    }
    return alpha;
}

// ---------------------------------------------------------------- driver

// The helpers (search/threads.h) search beside the main thread from the
// moment its writes to shared state (the table's age, the book) are done
// until its own search has ended, however it ended.
void tree_surf(int silent) {
    silencio = silent;
    search_count++;
    stop_search = book_on && book_move(computer_side);
    book_on = 0;
    if (stop_search) return;
    keep_room_on_stack(MAX_PLY);   // the line pushes one key a ply
    const int kept_reps = rep_count;
    prepare();
    start_helpers();
    try {
        iterate();
    } catch (const search_timeout&) {
        stop_helpers();
        unwind(kept_reps);
        stop_search = 1;
        return;
    }
    stop_helpers();
}

// ---------------------------------------------------------------- threads

namespace {

// The main thread's root as the helpers copy it: shared, written by the
// main thread (publish_root) before the helpers start and only read by
// them until they are stopped.
struct root_copy {
    board_copy board;
    uint64_t index_key, check_key;
    uint64_t rep_stack[REPETITION_STACK];
    int rep_count;
    int minki, maxkf;   // the window the main thread's first iteration opens with
};
root_copy published_root;

}  // namespace

void publish_root() {
    root_copy& r = published_root;
    save_board(&r.board);
    r.index_key = index_key;
    r.check_key = check_key;
    r.rep_count = rep_count;
    std::memcpy(r.rep_stack, rep_stack, size_t(rep_count) * sizeof(uint64_t));
    r.minki = minki;
    r.maxkf = maxkf;
}

// The main thread's search without its writes to shared state (the table's
// age, the book) and, with the hooks of a helper, without a line printed:
// it writes nothing shared but the table's entries.
void helper_search() {
    const root_copy& r = published_root;
    restore_board(r.board);
    index_key = r.index_key;
    check_key = r.check_key;
    rep_count = r.rep_count;
    std::memcpy(rep_stack, r.rep_stack, size_t(r.rep_count) * sizeof(uint64_t));
    minki = r.minki;
    maxkf = r.maxkf;
    stop_search = 0;
    keep_room_on_stack(MAX_PLY);
    const int kept_reps = rep_count;
    prepare();
    try {
        iterate();
    } catch (const search_timeout&) {
        unwind(kept_reps);
        stop_search = 1;
    }
}

void reset_search_state() {
    reset_shared_search_state();
    search_count = 0;
    draw_start_up_keys();   // the keys a new run draws
    clear_table();
    tt_hits = tt_misses = 0;
}

// The console's lines show the full-width nodes only.
std::int64_t reported_nodes() { return nodes; }

// The engine's clock alone sets the budget.
void tree_surf_time(std::int64_t /*op_time*/, std::int64_t own_time) { max_time = time_budget(own_time); }

int time_budget(std::int64_t engine_clock_cs) {
    const std::int64_t t = engine_clock_cs;
    int seconds = t < 3000 ? 1 : t < 6000 ? 3 : t < 9000 ? 5 : t < 30000 ? 7 : t < 60000 ? 15 : t < 120000 ? 30 : 120;
    // The middle game, where the game is most often decided, gets more.
    if (game_plies > 32 && game_plies < 46) seconds += seconds / 2;
    return seconds == 0 ? 1 : seconds;
}
