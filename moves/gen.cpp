// moves/gen.cpp: Move2Gen and Caps2Gen.
#include "moves/gen.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/attack.h"
#include "moves/score.h"
#include <algorithm>

constinit thread_local int ichk{};
constinit thread_local int atfactor{};

namespace {

// What one generation needs about the side to move and the attack maps.
struct gen_state {
    BitBoard from_x[64];   // opponent's men attacking each square
    BitBoard from_s[64];   // own men attacking each square
    BitBoard all_x, all_s;
    int king;              // own king square
    BitBoard enemies;      // the opponent's men
    BitBoard pawns;        // own pawns
    int step;              // pawn step: -8 for light, +8 for dark
    BitBoard checkers;
    BitBoard capture_targets, quiet_targets;
    // The table's best move here, looked up at the first move pushed: a
    // capture generation that finds nothing to take never reads the table.
    uint32_t hash_move;
    bool hash_move_known;
};

void side_to_move(gen_state& g) {
    const bool light = side == LIGHT;
    g.king = light ? light_king_sq : dark_king_sq;
    g.enemies = light ? dark_occupied : light_occupied;
    g.pawns = light ? light_pawns : dark_pawns;
    g.step = light ? -8 : 8;
    g.hash_move_known = false;
}

// Both attack maps of the whole board, for the full generation.
void build_maps(gen_state& g) {
    for (int i = 0; i < 64; i++) g.from_x[i] = g.from_s[i] = 0;
    saBit(xside, &g.all_x, g.from_x);
    saBit(side, &g.all_s, g.from_s);
    side_to_move(g);
    g.checkers = g.from_x[g.king];
}

// The attack maps of the given squares only, which is all a capture
// generation reads (the squares moved to); all_x is right on them alone.
void map_squares(gen_state& g, BitBoard squares) {
    g.all_x = 0;
    for (; squares; squares &= squares - 1) {
        const int sq = BBf(squares);
        attackers_both(sq, &g.from_s[sq], &g.from_x[sq]);
        if (g.from_x[sq]) g.all_x |= mask[sq];
    }
}

// In check only the checkers can be taken, and only the squares between the
// first checker and the king can be blocked.
void set_targets(gen_state& g, BitBoard captures) {
    if (!g.checkers) {
        ichk = 0;
        g.capture_targets = captures;
        g.quiet_targets = empty_squares;
    } else {
        ichk = 1;
        g.capture_targets = g.checkers;
        g.quiet_targets = entre[BBf(g.checkers)][g.king];
    }
}

// Appends a move with its ordering score. The list holds the longest lists
// of 64 plies of positions a game can reach; a set-up position with more men
// than a game can have is cut short rather than written past the end.
void push(gen_state& g, int from, int to, int promote, int bits) {
    if (gen_end[ply] >= GEN_STACK) return;
    if (!g.hash_move_known) {
        g.hash_move = stored_hash_move();
        g.hash_move_known = true;
    }
    gen_rec& r = gen_dat[gen_end[ply]++];
    r.m = move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)};
    r.score = score_move(r.m, g.from_x, g.from_s, g.hash_move);
    // The table's move is searched first: its slot starts loading now, while
    // the rest of the list is generated.
    if (g.hash_move != 0 && move_value(r.m) == g.hash_move) prefetch_slot(key_after(r.m), xside);
}

// The four promotions of one pawn move, queen first: move entry relies on it.
void push_promotions(gen_state& g, int from, int to, int bits) {
    for (int p = QUEEN; p >= KNIGHT; p--) push(g, from, to, p, bits);
}

void raise_atfactor(int value) { atfactor = std::max(atfactor, value); }

void king_captures(gen_state& g, BitBoard targets) {
    for (BitBoard t = king_moves[g.king] & targets & ~g.all_x; t; t &= t - 1) {
        const int to = BBf(t);
        push(g, g.king, to, 0, MF_CAPTURE);
        raise_atfactor(piece_value[piece[to]]);
    }
}

// Captures grouped by target square: pawns first, then the pieces.
void captures(gen_state& g, BitBoard targets) {
    const BitBoard not_pieces = mask[g.king] | g.pawns;
    for (; targets; targets &= targets - 1) {
        const int to = BBf(targets);
        for (BitBoard p = g.from_s[to] & g.pawns; p; p &= p - 1) {
            if (mask[to] & octavas) {
                push_promotions(g, BBf(p), to, MF_PROMOTE | MF_PAWN | MF_CAPTURE);
                raise_atfactor(piece_value[QUEEN]);
            } else {
                push(g, BBf(p), to, 0, MF_PAWN | MF_CAPTURE);
            }
            raise_atfactor(piece_value[piece[to]]);
        }
        for (BitBoard f = g.from_s[to] & ~not_pieces; f; f &= f - 1) {
            push(g, BBf(f), to, 0, MF_CAPTURE);
            raise_atfactor(piece_value[piece[to]]);
        }
    }
}

// Own pawns beside the pawn that has just made a double step.
void en_passant(gen_state& g) {
    for (BitBoard p = sider[ep - g.step] & g.pawns; p; p &= p - 1) {
        push(g, BBf(p), ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
        raise_atfactor(piece_value[PAWN]);
    }
}

void quiet_piece_moves(gen_state& g) {
    const BitBoard not_pieces = mask[g.king] | g.pawns;
    // Only squares some own man attacks can be reached.
    for (BitBoard t = g.quiet_targets & empty_squares & g.all_s; t; t &= t - 1) {
        const int to = BBf(t);
        for (BitBoard f = g.from_s[to] & ~not_pieces; f; f &= f - 1) push(g, BBf(f), to, 0, 0);
    }
}

void pawn_pushes(gen_state& g) {
    const bool light = side == LIGHT;
    BitBoard single = (light ? g.pawns >> 8 : g.pawns << 8) & empty_squares;
    const BitBoard third = single & filas[light ? 5 : 2];
    BitBoard twice = (light ? third >> 8 : third << 8) & empty_squares;
    if (g.checkers) {
        single &= g.quiet_targets;
        twice &= g.quiet_targets;
    }
    const BitBoard last_rank = filas[light ? 0 : 7];
    for (; single; single &= single - 1) {
        const int to = BBf(single);
        if (mask[to] & last_rank) push_promotions(g, to - g.step, to, MF_PROMOTE | MF_PAWN);
        else push(g, to - g.step, to, 0, MF_PAWN);
    }
    for (; twice; twice &= twice - 1) {
        const int to = BBf(twice);
        push(g, to - 2 * g.step, to, 0, MF_DOUBLE);
    }
}

// The rook must stand on its corner: a right kept in a set-up position
// whose rook is gone must not move another man that bears on the king.
bool can_castle(const gen_state& g, int right, int rook_sq, BitBoard must_be_safe) {
    return (castle & right) && (g.from_s[g.king] & mask[rook_sq]) && piece[rook_sq] == ROOK &&
           color[rook_sq] == side && !(g.all_x & must_be_safe);
}

void castling(gen_state& g) {
    if (side == LIGHT && g.king == E1) {
        if (can_castle(g, CASTLE_LIGHT_SHORT, H1, E1F1G1)) push(g, E1, G1, 0, MF_CASTLE);
        if (can_castle(g, CASTLE_LIGHT_LONG, A1, E1D1C1)) push(g, E1, C1, 0, MF_CASTLE);
    } else if (side == DARK && g.king == E8) {
        if (can_castle(g, CASTLE_DARK_SHORT, H8, E8F8G8)) push(g, E8, G8, 0, MF_CASTLE);
        if (can_castle(g, CASTLE_DARK_LONG, A8, E8D8C8)) push(g, E8, C8, 0, MF_CASTLE);
    }
}

}  // namespace

void Move2Gen() {
    gen_state g;
    build_maps(g);
    gen_end[ply] = gen_begin[ply];
    set_targets(g, g.enemies);
    atfactor = 0;
    king_captures(g, g.enemies);   // in check too the king may take any unguarded man
    for (BitBoard t = king_moves[g.king] & empty_squares & ~g.all_x; t; t &= t - 1)
        push(g, g.king, BBf(t), 0, 0);
    captures(g, g.capture_targets & g.enemies);
    if (ep != -1) en_passant(g);
    quiet_piece_moves(g);
    // A check by a knight or a pawn cannot be blocked.
    const BitBoard jumpers = side == LIGHT ? dark_knights | dark_pawns : light_knights | light_pawns;
    if (!(g.checkers & jumpers)) {
        pawn_pushes(g);
        if (!g.checkers) castling(g);
    }
    gen_begin[ply + 1] = gen_end[ply];
}

void Caps2Gen(int score, int bound) {
    gen_end[ply] = gen_begin[ply];
    if (score + 950 < bound) {
        gen_begin[ply + 1] = gen_begin[ply];
        return;
    }
    gen_state g;
    side_to_move(g);
    g.checkers = attackers(g.king, xside);
    const int kept_atfactor = atfactor;   // belongs to the full generation only
    const bool light = side == LIGHT;
    BitBoard targets = g.enemies & ~mask[light ? dark_king_sq : light_king_sq];
    const BitBoard queens = light ? dark_queens : light_queens;
    const BitBoard rooks = light ? dark_rooks : light_rooks;
    if (score + piece_value[QUEEN] < bound) targets = 0;
    else if (score + piece_value[ROOK] < bound) targets &= queens;
    else if (score + piece_value[KNIGHT] < bound) targets &= queens | rooks;
    set_targets(g, targets);

    BitBoard promotions = (light ? g.pawns >> 8 : g.pawns << 8) & empty_squares & filas[light ? 0 : 7];
    if (g.checkers) promotions &= g.quiet_targets;
    const bool takes_en_passant = ep != -1 && score + piece_value[PAWN] >= bound;
    map_squares(g, (king_moves[g.king] & targets) | promotions | (g.capture_targets & targets) |
                       (takes_en_passant ? mask[ep] : 0));

    king_captures(g, targets);
    for (; promotions; promotions &= promotions - 1) {
        const int to = BBf(promotions);
        push_promotions(g, to - g.step, to, MF_PROMOTE | MF_PAWN);
    }
    captures(g, g.capture_targets & targets);
    if (takes_en_passant) en_passant(g);
    gen_begin[ply + 1] = gen_end[ply];
    atfactor = kept_atfactor;
}
