// search/quiesce.cpp: stand pat, captures (every move in check), delta pruning.
#include "search/quiesce.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/alphabeta.h"
#include "search/ordering.h"
#include <algorithm>

namespace {

constexpr int QUIESCE_MARGIN = 200;       // added to the stand-pat score before a capture must reach alpha
constexpr int MATERIAL_CUTOFF = 400;      // this far above beta on material alone, the node stands
constexpr int MATERIAL_DISCOUNT = 100;    // ... scored at its material less this

}  // namespace

// Captures that cannot raise alpha even with the captured man won outright
// (margin already holds QUIESCE_MARGIN), and captures the ordering judged losing.
bool skip_capture(const gen_rec& g, int margin, int alpha) {
    const int victim = piece[int(g.m.to)];
    if (victim == EMPTY) return false;
    if (margin + piece_value[victim] < alpha) {
        chash[CHASH_FUTILE_CAPTURE]++;
        return true;
    }
    if (g.score < ORDER_SAFE_PROMOTION) {   // below every band: the exchange loses material
        chash[CHASH_LOSING_CAPTURE]++;
        return true;
    }
    return false;
}

int quiesce(int alpha, int beta, int qply, int qmax) {
    note_ply_reached();
    if (ply > MAX_PLY - 2 || qply == qmax) return eval(alpha, beta);
    const int own = side == LIGHT ? material_balance : -material_balance;
    if (own - MATERIAL_CUTOFF > beta) return own - MATERIAL_DISCOUNT;

    // The capture generation reads this position's slot after the evaluation.
    prefetch_slot(master_checksum, side);
    const int stand_pat = eval(alpha, beta);
    if (stand_pat >= beta) return stand_pat;
    alpha = std::max(alpha, stand_pat);
    const int margin = stand_pat + QUIESCE_MARGIN;

    const bool check = in_check(side);
    if (check) Move2Gen();
    else Caps2Gen(margin, alpha);

    int fails = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        sort(i);
        if (!check && skip_capture(gen_dat[i], margin, alpha)) continue;
        if (!makemove(gen_dat[i].m)) continue;
        prefetch_eval_caches();   // the child evaluates first of all
        poll_search(++qnodes);
        int score = -quiesce(-alpha - 1, -alpha, qply + 1, qmax);
        if (score > alpha && score < beta) score = std::max(score, -quiesce(-beta, -score, qply + 1, qmax));
        takeback();
        if (score <= alpha) {
            fails++;
        } else if (score >= beta) {
            const move_bytes m = gen_dat[i].m;
            cutoffs++;
            history[m.from * 64 + m.to]++;
            if (fails == 0) firstmove++;
            return score;
        } else {
            alpha = score;
        }
    }
    return alpha;
}
