// editions/v30/quiesce.cpp: stand pat, then the captures (of the checkers
// when in check), each searched with the full window, pruned by the value
// of the man it takes.
#include "editions/v30/quiesce.h"
#include "board/position.h"
#include "editions/v30/alphabeta.h"
#include "editions/v30/gen.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/make.h"
#include "search/ordering.h"
#include <algorithm>

namespace {

// Value of the man standing on the move's destination; 0 for an empty square
// (en passant).
int taken_value(move_bytes m) {
    const int victim = piece[int(m.to)];
    return victim == EMPTY ? 0 : piece_value[victim];
}

}  // namespace

int quiesce(int alpha, int beta, int qply, int qmax) {
    note_ply_reached();
    if (ply > QUIESCE_LAST_PLY || qply == qmax) return eval(alpha, beta);
    // The capture generation reads this position's slot after the evaluation.
    prefetch_slot(master_checksum, side);
    const int stand_pat = eval(alpha, beta);
    if (stand_pat >= beta) return stand_pat;
    alpha = std::max(alpha, stand_pat);
    const int margin = stand_pat + QUIESCE_MARGIN;

    CapsGen();
    int fails = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        sort(i);
        const move_bytes m = gen_dat[i].m;
        // Even winning the man outright (and the margin) would not reach
        // alpha. The margin is the one of entry, while alpha may have risen.
        if (margin + taken_value(m) < alpha) {
            chash[CHASH_FUTILE_CAPTURE]++;
            continue;
        }
        if (!makemove(m)) continue;
        prefetch_eval_caches();   // the child evaluates first of all
        count_node();
        const int score = -quiesce(-beta, -alpha, qply + 1, qmax);
        takeback();
        if (score <= alpha) {
            fails++;
        } else if (score >= beta) {
            cutoffs++;
            if (fails == 0) firstmove++;
            return score;
        } else {
            alpha = score;
        }
    }
    return alpha;
}
