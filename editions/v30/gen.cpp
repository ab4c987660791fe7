// editions/v30/gen.cpp: flag maps and move generation of edition 3.0.
#include "editions/v30/gen.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "editions/v30/score.h"
#include "hash/keys.h"
#include "moves/gen.h"
#include <cstring>

int hash_ix;
int front_end_flags[64];

namespace {

constexpr int PAWN_BIT = 1 << PAWN, KNIGHT_BIT = 1 << KNIGHT, KING_BIT = 1 << KING;

struct gen_state {
    int* fx;             // the opponent's flags
    int fs[64];          // the mover's flags
    int king;            // own king square
    BitBoard enemies, pawns, checkers;
    int step;            // pawn step: -8 for light, +8 for dark
};

// Appends a move scored from both maps. The list holds the longest lists of
// the edition's plies; a set-up position with more men than a game can
// have is cut short rather than written past the end.
void push(const gen_state& g, int from, int to, int promote, int bits) {
    if (gen_end[ply] >= GEN_STACK) return;
    gen_rec& r = gen_dat[gen_end[ply]++];
    r.m = move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)};
    r.score = scoring(r.m, g.fx, g.fs);
}

void push_promotions(const gen_state& g, int from, int to, int bits) {
    for (int p = QUEEN; p >= KNIGHT; p--) push(g, from, to, p, bits);
}

// Squares a slider on s reaches along direction d, up to the first man.
template <typename F>
void walk_ray(int s, int d, F visit) {
    for (int t = mailbox[mailbox64[s] + d]; t != -1; t = mailbox[mailbox64[t] + d]) {
        visit(t);
        if (color[t] != EMPTY) return;
    }
}

BitBoard slider_lines(int kind, int sq) {
    return kind == BISHOP ? diag[sq] : kind == ROOK ? cruz[sq] : star[sq];
}

BitBoard own_set(int kind) {
    const bool light = side == LIGHT;
    switch (kind) {
        case BISHOP: return light ? light_bishops : dark_bishops;
        case ROOK: return light ? light_rooks : dark_rooks;
        default: return light ? light_queens : dark_queens;
    }
}

// The squares of `targets` a slider on sq reaches, neighbours first, then
// the farther ones with nothing between.
void slider_moves(const gen_state& g, int sq, BitBoard targets, int bits) {
    const BitBoard near = targets & king_moves[sq];
    for (BitBoard t = near; t; t &= t - 1) push(g, sq, BBf(t), 0, bits);
    for (BitBoard t = targets & ~near; t; t &= t - 1) {
        const int to = BBf(t);
        if (!(entre[sq][to] & ~empty_squares)) push(g, sq, to, 0, bits);
    }
}

void fill_maps(gen_state& g, int* flags_x) {
    BitBoard all, kinds[6];
    g.fx = flags_x;
    g.checkers = scan_attack(xside, flags_x, &all, kinds);
    scan_attack(side, g.fs, &all, kinds);
    const bool light = side == LIGHT;
    g.king = light ? light_king_sq : dark_king_sq;
    g.enemies = light ? dark_occupied : light_occupied;
    g.pawns = light ? light_pawns : dark_pawns;
    g.step = light ? -8 : 8;
}

void king_captures(const gen_state& g) {
    for (BitBoard t = king_moves[g.king] & g.enemies; t; t &= t - 1)
        if (!g.fx[BBf(t)]) push(g, g.king, BBf(t), 0, MF_CAPTURE);
}

void pawn_captures(const gen_state& g) {
    for (BitBoard p = g.pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        BitBoard targets = sider[sq + g.step] & g.enemies;
        if (g.checkers) targets &= g.checkers;
        for (; targets; targets &= targets - 1) {
            const int to = BBf(targets);
            if (mask[to] & (filas[0] | filas[7])) push_promotions(g, sq, to, MF_PROMOTE | MF_PAWN | MF_CAPTURE);
            else push(g, sq, to, 0, MF_PAWN | MF_CAPTURE);
        }
    }
}

void en_passant(const gen_state& g) {
    for (BitBoard p = sider[ep - g.step] & g.pawns; p; p &= p - 1)
        push(g, BBf(p), ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
}

bool knight_checks(const gen_state& g) { return g.fx[g.king] & KNIGHT_BIT; }

void knight_moves_to(const gen_state& g, BitBoard targets, int bits) {
    for (BitBoard n = side == LIGHT ? light_knights : dark_knights; n; n &= n - 1) {
        const int sq = BBf(n);
        for (BitBoard t = knight_moves[sq] & targets; t; t &= t - 1) push(g, sq, BBf(t), 0, bits);
    }
}

void slider_moves_to(const gen_state& g, BitBoard targets, int bits) {
    for (int kind : {BISHOP, ROOK, QUEEN})
        for (BitBoard s = own_set(kind); s; s &= s - 1) {
            const int sq = BBf(s);
            slider_moves(g, sq, slider_lines(kind, sq) & targets, bits);
        }
}

void captures(const gen_state& g) {
    const BitBoard targets = g.checkers ? g.checkers : g.enemies;
    knight_moves_to(g, g.enemies & targets, MF_CAPTURE);
    slider_moves_to(g, g.enemies & targets, MF_CAPTURE);
}

void pawn_pushes(const gen_state& g, BitBoard blocks) {
    const bool light = side == LIGHT;
    BitBoard single = (light ? g.pawns >> 8 : g.pawns << 8) & empty_squares;
    const BitBoard third = single & filas[light ? 5 : 2];
    BitBoard twice = (light ? third >> 8 : third << 8) & empty_squares;
    single &= blocks;
    twice &= blocks;
    for (; single; single &= single - 1) {
        const int to = BBf(single);
        if (mask[to] & filas[light ? 0 : 7]) push_promotions(g, to - g.step, to, MF_PROMOTE | MF_PAWN);
        else push(g, to - g.step, to, 0, MF_PAWN);
    }
    for (; twice; twice &= twice - 1) push(g, BBf(twice) - 2 * g.step, BBf(twice), 0, MF_DOUBLE);
}

// Castling needs the rook on its corner, empty squares between, and neither
// the king's square nor the one it passes attacked.
void castling(const gen_state& g) {
    const int home = side == LIGHT ? E1 : E8;
    if (g.king != home || g.fx[home]) return;
    const int short_right = side == LIGHT ? CASTLE_LIGHT_SHORT : CASTLE_DARK_SHORT;
    const int long_right = side == LIGHT ? CASTLE_LIGHT_LONG : CASTLE_DARK_LONG;
    auto rook_on = [](int sq) { return piece[sq] == ROOK && color[sq] == side; };
    auto empty = [](int a, int b) { return color[a] == EMPTY && color[b] == EMPTY; };
    if ((castle & short_right) && rook_on(home + 3) && empty(home + 1, home + 2) && !g.fx[home + 1])
        push(g, home, home + 2, 0, MF_CASTLE);
    if ((castle & long_right) && rook_on(home - 4) && empty(home - 1, home - 2) && color[home - 3] == EMPTY &&
        !g.fx[home - 1])
        push(g, home, home - 2, 0, MF_CASTLE);
}

}  // namespace

BitBoard knight_attack_set(int s) {
    BitBoard attacked = 0;
    for (BitBoard n = s == LIGHT ? light_knights : dark_knights; n; n &= n - 1) attacked |= knight_moves[BBf(n)];
    return attacked;
}

BitBoard scan_attack(int s, int flags[64], BitBoard* all, BitBoard kind_sets[6]) {
    const bool light = s == LIGHT;
    const int enemy_king = light ? dark_king_sq : light_king_sq;
    std::memset(flags, 0, 64 * sizeof(int));
    BitBoard checkers = 0;
    for (int k = PAWN; k <= KING; k++) kind_sets[k] = 0;

    for (BitBoard p = light ? light_pawns : dark_pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (sq < 8 || sq > 55) continue;   // no pawn attacks off the board
        const BitBoard attacks = sider[light ? sq - 8 : sq + 8];
        kind_sets[PAWN] |= attacks;
        if (attacks & mask[enemy_king]) checkers |= mask[sq];
        for (BitBoard t = attacks; t; t &= t - 1) {
            int& f = flags[BBf(t)];
            f |= (f & PAWN_BIT) ? TWO_PAWNS : PAWN_BIT;
        }
    }
    for (BitBoard n = light ? light_knights : dark_knights; n; n &= n - 1) {
        const int sq = BBf(n);
        kind_sets[KNIGHT] |= knight_moves[sq];
        if (knight_moves[sq] & mask[enemy_king]) checkers |= mask[sq];
    }
    for (BitBoard t = kind_sets[KNIGHT]; t; t &= t - 1) flags[BBf(t)] |= KNIGHT_BIT;

    const BitBoard sliders[3] = {light ? light_bishops : dark_bishops, light ? light_rooks : dark_rooks,
                                 light ? light_queens : dark_queens};
    for (int kind = BISHOP; kind <= QUEEN; kind++) {
        for (BitBoard b = sliders[kind - BISHOP]; b; b &= b - 1) {
            const int sq = BBf(b);
            for (int i = 0; i < offsets[kind]; i++)
                walk_ray(sq, offset[kind][i], [&](int t) {
                    kind_sets[kind] |= mask[t];
                    flags[t] |= 1 << kind;
                    if (t == enemy_king) checkers |= mask[sq];
                });
        }
    }
    const int king = light ? light_king_sq : dark_king_sq;
    kind_sets[KING] = king_moves[king];
    for (BitBoard t = kind_sets[KING]; t; t &= t - 1) flags[BBf(t)] |= KING_BIT;

    *all = 0;
    for (int k = PAWN; k <= KING; k++) *all |= kind_sets[k];
    return checkers;
}

void MoveGen(int* flags_x) {
    gen_state g;
    fill_maps(g, flags_x);
    gen_end[ply] = gen_begin[ply];
    if (!g.checkers) hash_ix = int(master_checksum % HASH_MODULUS) + 4 * side;
    const BitBoard blocks = g.checkers ? entre[BBf(g.checkers)][g.king] : ~BitBoard{0};

    king_captures(g);
    pawn_captures(g);
    const BitBoard enemy_pawns = side == LIGHT ? dark_pawns : light_pawns;
    if (ep != -1 && !(g.checkers & ~enemy_pawns) && !knight_checks(g)) en_passant(g);
    captures(g);
    for (BitBoard t = king_moves[g.king] & empty_squares; t; t &= t - 1)
        if (!g.fx[BBf(t)]) push(g, g.king, BBf(t), 0, 0);
    // A check by a pawn or a knight cannot be blocked.
    if (!(g.fx[g.king] & (PAWN_BIT | KNIGHT_BIT))) {
        pawn_pushes(g, blocks);
        knight_moves_to(g, empty_squares & blocks, 0);
        slider_moves_to(g, empty_squares & blocks, 0);
    }
    castling(g);
    gen_begin[ply + 1] = gen_end[ply];
}

void CapsGen(int* flags_x, int* flags_s) {
    gen_state g;
    hash_ix = 0;   // the quiescence search uses no hash move and no quiet terms
    fill_maps(g, flags_x);
    std::memcpy(flags_s, g.fs, sizeof g.fs);
    gen_end[ply] = gen_begin[ply];
    king_captures(g);
    pawn_captures(g);
    if (ep != -1 && !knight_checks(g)) en_passant(g);
    captures(g);
    gen_begin[ply + 1] = gen_end[ply];
}

void Move2Gen() { MoveGen(front_end_flags); }
