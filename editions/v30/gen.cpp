// editions/v30/gen.cpp: flag maps and move generation of edition 3.0.
#include "editions/v30/gen.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "editions/v30/score.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/gen.h"
#if defined(__SSE4_1__)
#include <immintrin.h>
#endif

constinit thread_local int hash_ix{};
constinit thread_local int front_end_flags[64]{};

namespace {

// A slider of the side to move and the squares it reaches.
struct slider_reach {
    int sq;
    BitBoard reach;
};

// The bits of a flag word: one per kind of man, then TWO_PAWNS.
constexpr int FLAG_BITS = 7;
static_assert(TWO_PAWNS == 1 << (FLAG_BITS - 1));

// What a side attacks: bit i of a square's flag word tells whether the
// square is in sets[i] (the kinds from PAWN to KING, then two pawns at once);
// `all` is the union.
struct attack_sets {
    BitBoard sets[FLAG_BITS];
    BitBoard all;
};

int flag_word(const attack_sets& a, int sq) {
    int f = 0;
    for (int i = 0; i < FLAG_BITS; i++) f |= int((a.sets[i] >> sq) & 1) << i;
    return f;
}

// The quiescence generation scores its few captures from flag words made
// square by square; the full one fills both flag maps, which the search
// reads as well.
struct gen_state {
    attack_sets xa, sa;  // the opponent's and the mover's attacks
    int king;            // own king square
    BitBoard enemies, pawns, checkers;
    int step;            // pawn step: -8 for light, +8 for dark
    int sliders;         // entries of `reach`: bishops, then rooks, then queens, lowest square first
    slider_reach reach[64];
};

// Appends a move, scored once the list is complete. The list holds the
// longest lists of the edition's plies; a set-up position with more men
// than a game can have is cut short rather than written past the end.
void push(int from, int to, int promote, int bits) {
    if (gen_end[ply] >= GEN_STACK) return;
    gen_dat[gen_end[ply]++].m = move_bytes{int8_t(from), int8_t(to), int8_t(promote), int8_t(bits)};
}

void push_promotions(int from, int to, int bits) {
    for (int p = QUEEN; p >= KNIGHT; p--) push(from, to, p, bits);
}

BitBoard slider_attacks(int kind, int sq, BitBoard occupied) {
    BitBoard a = 0;
    if (kind != BISHOP) a |= straight_attacks(sq, occupied);
    if (kind != ROOK) a |= bishop_attacks(sq, occupied);
    return a;
}

#if defined(__SSE4_1__)
// flags[sq] gets bit i when sq is in sets[i]. Sixteen squares (two ranks)
// at a time: each square's byte of the set is copied into its lane, the
// lane keeps its square's bit, and a lane holding it takes bit i.
void spread_flags(const BitBoard sets[FLAG_BITS], int flags[64]) {
    const __m128i square_bit = _mm_set_epi8(-128, 64, 32, 16, 8, 4, 2, 1, -128, 64, 32, 16, 8, 4, 2, 1);
    __m128i words[4] = {};
    for (int i = 0; i < FLAG_BITS; i++) {
        const __m128i set = _mm_cvtsi64_si128(static_cast<long long>(sets[i]));
        const __m128i flag = _mm_set1_epi8(static_cast<char>(1 << i));
        for (int pair = 0; pair < 4; pair++) {
            const char lo = static_cast<char>(2 * pair), hi = static_cast<char>(2 * pair + 1);
            const __m128i spread = _mm_set_epi8(hi, hi, hi, hi, hi, hi, hi, hi, lo, lo, lo, lo, lo, lo, lo, lo);
            const __m128i bytes = _mm_shuffle_epi8(set, spread);
            const __m128i held = _mm_cmpeq_epi8(_mm_and_si128(bytes, square_bit), square_bit);
            words[pair] = _mm_or_si128(words[pair], _mm_and_si128(held, flag));
        }
    }
    for (int pair = 0; pair < 4; pair++) {
        __m128i* out = reinterpret_cast<__m128i*>(flags + 16 * pair);
        _mm_storeu_si128(out, _mm_cvtepu8_epi32(words[pair]));
        _mm_storeu_si128(out + 1, _mm_cvtepu8_epi32(_mm_srli_si128(words[pair], 4)));
        _mm_storeu_si128(out + 2, _mm_cvtepu8_epi32(_mm_srli_si128(words[pair], 8)));
        _mm_storeu_si128(out + 3, _mm_cvtepu8_epi32(_mm_srli_si128(words[pair], 12)));
    }
}
#else
// Byte k of spread_byte[b] is bit k of b: a rank of a square set, one byte
// per square.
struct spread_table {
    uint64_t bytes[256];
};

constexpr spread_table make_spread() {
    spread_table t{};
    for (int b = 0; b < 256; b++)
        for (int k = 0; k < 8; k++)
            if (b >> k & 1) t.bytes[b] |= uint64_t{1} << (8 * k);
    return t;
}

constexpr spread_table spread_byte = make_spread();

// flags[sq] gets bit i when sq is in sets[i], a rank at a time.
void spread_flags(const BitBoard sets[FLAG_BITS], int flags[64]) {
    for (int rank = 0; rank < 8; rank++) {
        uint64_t words = 0;
        for (int i = 0; i < FLAG_BITS; i++) words |= spread_byte.bytes[(sets[i] >> (8 * rank)) & 0xFF] << i;
        for (int k = 0; k < 8; k++) flags[8 * rank + k] = int((words >> (8 * k)) & 0xFF);
    }
}
#endif

// The moves of a slider on sq to the squares of `reach` (all of them
// reached with nothing between): neighbours first, then the farther ones.
void slider_moves(int sq, BitBoard reach, int bits) {
    const BitBoard near = reach & king_moves[sq];
    for (BitBoard t = near; t; t &= t - 1) push(sq, BBf(t), 0, bits);
    for (BitBoard t = reach & ~near; t; t &= t - 1) push(sq, BBf(t), 0, bits);
}

// The attacks of side s (see scan_attack), and when `reach` is given, each
// slider's square and reach in the order slider_moves_to wants them, their
// number in *sliders.
BitBoard scan_men(int s, attack_sets& attacks, slider_reach* reach, int* sliders) {
    BitBoard* kind_sets = attacks.sets;
    const bool light = s == LIGHT;
    const BitBoard enemy_king = mask[light ? dark_king_sq : light_king_sq];
    const BitBoard occupied = ~empty_squares;
    BitBoard checkers = 0;

    // Pawns off the first and last ranks attack the squares beside the one
    // ahead: "left" from a pawn off the a-file, "right" from one off the h-file.
    const BitBoard pawns = (light ? light_pawns : dark_pawns) & ~(filas[0] | filas[7]);
    const BitBoard off_a = pawns & ~columnas[0], off_h = pawns & ~columnas[7];
    const BitBoard left = light ? off_a >> 9 : off_a << 7;
    const BitBoard right = light ? off_h >> 7 : off_h << 9;
    kind_sets[PAWN] = left | right;
    kind_sets[FLAG_BITS - 1] = left & right;
    checkers |= light ? (off_a & (enemy_king << 9)) | (off_h & (enemy_king << 7))
                      : (off_a & (enemy_king >> 7)) | (off_h & (enemy_king >> 9));

    const BitBoard knights = light ? light_knights : dark_knights;
    kind_sets[KNIGHT] = 0;
    for (BitBoard n = knights; n; n &= n - 1) kind_sets[KNIGHT] |= knight_moves[BBf(n)];
    if (enemy_king & kind_sets[KNIGHT]) checkers |= knights & knight_moves[BBf(enemy_king)];

    const BitBoard slider_sets[3] = {light ? light_bishops : dark_bishops, light ? light_rooks : dark_rooks,
                                     light ? light_queens : dark_queens};
    int count = 0;
    for (int kind = BISHOP; kind <= QUEEN; kind++) {
        BitBoard reached = 0;
        for (BitBoard b = slider_sets[kind - BISHOP]; b; b &= b - 1) {
            const int sq = BBf(b);
            const BitBoard a = slider_attacks(kind, sq, occupied);
            reached |= a;
            if (a & enemy_king) checkers |= mask[sq];
            if (reach) reach[count++] = slider_reach{sq, a};
        }
        kind_sets[kind] = reached;
    }
    if (sliders) *sliders = count;
    const int king = light ? light_king_sq : dark_king_sq;
    kind_sets[KING] = king_moves[king];
    attacks.all = kind_sets[PAWN] | kind_sets[KNIGHT] | kind_sets[BISHOP] | kind_sets[ROOK] | kind_sets[QUEEN] |
                  kind_sets[KING];
    return checkers;
}

// Both sides' attacks; the flag maps and the ordering context are the
// full generation's to add.
void scan_sides(gen_state& g) {
    g.checkers = scan_men(xside, g.xa, nullptr, nullptr);
    scan_men(side, g.sa, g.reach, &g.sliders);
    const bool light = side == LIGHT;
    g.king = light ? light_king_sq : dark_king_sq;
    g.enemies = light ? dark_occupied : light_occupied;
    g.pawns = light ? light_pawns : dark_pawns;
    g.step = light ? -8 : 8;
}

void king_captures(const gen_state& g) {
    for (BitBoard t = king_moves[g.king] & g.enemies; t; t &= t - 1)
        if (!(g.xa.all & mask[BBf(t)])) push(g.king, BBf(t), 0, MF_CAPTURE);
}

void pawn_captures(const gen_state& g) {
    for (BitBoard p = g.pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        BitBoard targets = sider[sq + g.step] & g.enemies;
        if (g.checkers) targets &= g.checkers;
        for (; targets; targets &= targets - 1) {
            const int to = BBf(targets);
            if (mask[to] & (filas[0] | filas[7])) push_promotions(sq, to, MF_PROMOTE | MF_PAWN | MF_CAPTURE);
            else push(sq, to, 0, MF_PAWN | MF_CAPTURE);
        }
    }
}

void en_passant(const gen_state& g) {
    for (BitBoard p = sider[ep - g.step] & g.pawns; p; p &= p - 1)
        push(BBf(p), ep, 0, MF_PAWN | MF_EP | MF_CAPTURE);
}

bool knight_checks(const gen_state& g) { return g.xa.sets[KNIGHT] & mask[g.king]; }

void knight_moves_to(BitBoard targets, int bits) {
    for (BitBoard n = side == LIGHT ? light_knights : dark_knights; n; n &= n - 1) {
        const int sq = BBf(n);
        for (BitBoard t = knight_moves[sq] & targets; t; t &= t - 1) push(sq, BBf(t), 0, bits);
    }
}

void slider_moves_to(const gen_state& g, BitBoard targets, int bits) {
    for (int i = 0; i < g.sliders; i++) slider_moves(g.reach[i].sq, g.reach[i].reach & targets, bits);
}

void captures(const gen_state& g) {
    const BitBoard targets = g.checkers ? g.checkers : g.enemies;
    knight_moves_to(g.enemies & targets, MF_CAPTURE);
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
        if (mask[to] & filas[light ? 0 : 7]) push_promotions(to - g.step, to, MF_PROMOTE | MF_PAWN);
        else push(to - g.step, to, 0, MF_PAWN);
    }
    for (; twice; twice &= twice - 1) push(BBf(twice) - 2 * g.step, BBf(twice), 0, MF_DOUBLE);
}

// Castling needs the rook on its corner, empty squares between, and neither
// the king's square nor the one it passes attacked.
void castling(const gen_state& g) {
    const int home = side == LIGHT ? E1 : E8;
    auto attacked = [&](int sq) { return (g.xa.all & mask[sq]) != 0; };
    if (g.king != home || attacked(home)) return;
    const int short_right = side == LIGHT ? CASTLE_LIGHT_SHORT : CASTLE_DARK_SHORT;
    const int long_right = side == LIGHT ? CASTLE_LIGHT_LONG : CASTLE_DARK_LONG;
    auto rook_on = [](int sq) { return piece[sq] == ROOK && color[sq] == side; };
    auto empty = [](int a, int b) { return color[a] == EMPTY && color[b] == EMPTY; };
    if ((castle & short_right) && rook_on(home + 3) && empty(home + 1, home + 2) && !attacked(home + 1))
        push(home, home + 2, 0, MF_CASTLE);
    if ((castle & long_right) && rook_on(home - 4) && empty(home - 1, home - 2) && color[home - 3] == EMPTY &&
        !attacked(home - 1))
        push(home, home - 2, 0, MF_CASTLE);
}

}  // namespace

BitBoard knight_attack_set(int s) {
    BitBoard attacked = 0;
    for (BitBoard n = s == LIGHT ? light_knights : dark_knights; n; n &= n - 1) attacked |= knight_moves[BBf(n)];
    return attacked;
}

BitBoard scan_attack(int s, int flags[64], BitBoard* all, BitBoard kind_sets[6]) {
    attack_sets a;
    const BitBoard checkers = scan_men(s, a, nullptr, nullptr);
    spread_flags(a.sets, flags);
    for (int k = PAWN; k <= KING; k++) kind_sets[k] = a.sets[k];
    *all = a.all;
    return checkers;
}

void MoveGen(int* flags_x) {
    gen_state g;
    int flags_s[64];
    scan_sides(g);
    spread_flags(g.xa.sets, flags_x);
    spread_flags(g.sa.sets, flags_s);
    gen_end[ply] = gen_begin[ply];
    if (!g.checkers) hash_ix = int(hash_home(master_checksum)) + 4 * side;
    const order_context order = order_context_for(flags_x, flags_s);
    const BitBoard blocks = g.checkers ? entre[BBf(g.checkers)][g.king] : ~BitBoard{0};

    king_captures(g);
    pawn_captures(g);
    const BitBoard enemy_pawns = side == LIGHT ? dark_pawns : light_pawns;
    if (ep != -1 && !(g.checkers & ~enemy_pawns) && !knight_checks(g)) en_passant(g);
    captures(g);
    for (BitBoard t = king_moves[g.king] & empty_squares; t; t &= t - 1)
        if (!(g.xa.all & mask[BBf(t)])) push(g.king, BBf(t), 0, 0);
    // A check by a pawn or a knight cannot be blocked.
    if (!((g.xa.sets[PAWN] | g.xa.sets[KNIGHT]) & mask[g.king])) {
        pawn_pushes(g, blocks);
        knight_moves_to(empty_squares & blocks, 0);
        slider_moves_to(g, empty_squares & blocks, 0);
    }
    castling(g);
    score_moves(gen_begin[ply], gen_end[ply], order);
    gen_begin[ply + 1] = gen_end[ply];
}

void CapsGen() {
    gen_state g;
    hash_ix = 0;   // the quiescence search uses no hash move and no quiet terms
    scan_sides(g);
    gen_end[ply] = gen_begin[ply];
    king_captures(g);
    pawn_captures(g);
    if (ep != -1 && !knight_checks(g)) en_passant(g);
    captures(g);
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        gen_rec& r = gen_dat[i];
        r.score = capture_order(r.m, flag_word(g.xa, r.m.to), flag_word(g.sa, r.m.to));
    }
    gen_begin[ply + 1] = gen_end[ply];
}

void Move2Gen() { MoveGen(front_end_flags); }
