// search/ordering.cpp: killers, history, lazy selection and the forced-reply test.
#include "search/ordering.h"
#include "moves/make.h"
#include "search/state.h"
#include <cstring>
#include <utility>

constinit thread_local killer_rec killers[MAX_PLY][2]{};
constinit thread_local int history[4096]{};
constinit thread_local int ply0_history[4096]{};
constinit thread_local int follow_pv{};

int next_to_sort(int from) {
    // Beyond the first positions only a move that already scores high is
    // worth a search for something better.
    if (SORT_FULL_POSITIONS && from >= gen_begin[ply] + SORT_FULL_POSITIONS && gen_dat[from].score <= ORDER_LATE_MINIMUM) return from;
    int best = from, best_score = -1;
    for (int i = from; i < gen_end[ply]; i++) {
        if (gen_dat[i].score > best_score) {
            best_score = gen_dat[i].score;
            best = i;
        }
    }
    return best;
}

void sort(int from) { std::swap(gen_dat[from], gen_dat[next_to_sort(from)]); }

void killer_update(int i) {
    const move_bytes m = gen_dat[i].m;
    killer_rec* k = killers[ply];
    if (k[0].m == m) {
        k[0].count++;
    } else if (k[1].m == m) {
        k[1].count++;
    } else {
        killer_rec& replaced = k[0].count > k[1].count ? k[1] : k[0];
        replaced.m = m;
        replaced.count = 0;
    }
}

void sort_pv() {
    follow_pv = 0;
    if (ply >= MAX_LINE) return;   // the line holds no move this deep
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        if (gen_dat[i].m == var_princ.moves[ply]) {
            gen_dat[i].score += PV_BONUS;
            follow_pv = 1;
            return;
        }
    }
}

int only_one() {
    if (gen_end[ply] - gen_begin[ply] > ONLY_ONE_MAX_MOVES) return 0;
    int legal = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        takeback();
        if (++legal == 2) return 0;
    }
    return legal == 1;
}

void clear_ordering() {
    std::memset(killers, 0, sizeof killers);
    std::memset(history, 0, sizeof history);
    std::memset(ply0_history, 0, sizeof ply0_history);
}
