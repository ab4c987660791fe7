// editions/v23/eval.cpp: edition 2.3's evaluation, read straight from the
// board arrays. Two accounts, light and dark, collect material, development,
// piece-square values, bishop pair, rook files, pawn structure and king
// safety; the result is their difference from the side to move's view.
//
// A first pass over the squares takes a census (material, pawn files, rooks
// on the seventh, development), since the pawn and rook terms look at pawns
// anywhere on the board; a second pass, a8 to h1, scores each man. The
// bishop terms depend on that order: a bishop counts for the pair and for
// the pawns only from the moment it has been visited.
#include "eval/eval.h"
#include "board/position.h"
#include "search/state.h"

const int piece_value[6] = {100, 300, 305, 500, 950, 10000};

namespace {

// Piece-square tables, light's view, rank 8 first; a dark man reads flip[sq].
constexpr int pawn_pcsq[64] = {
    0,  0,  0,   0,   0,   0,  0,  0,
    15, 15, 15,  20,  20,  15, 15, 15,
    6,  8,  12,  16,  16,  12, 8,  6,
    3,  6,  9,   12,  12,  9,  6,  3,
    2,  4,  7,   10,  10,  6,  4,  2,
    1,  1,  1,   -10, -10, 1,  1,  1,
    0,  0,  -10, -40, -40, 0,  0,  0,
    0,  0,  0,   0,   0,   0,  0,  0,
};

constexpr int knight_pcsq[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10,
    -10, 0,   0,   0,   0,   0,   0,   -10,
    -10, 0,   5,   5,   5,   5,   0,   -10,
    -10, 0,   5,   10,  10,  5,   0,   -10,
    -10, 0,   5,   10,  10,  5,   0,   -10,
    -10, 0,   5,   5,   5,   5,   0,   -10,
    -10, 0,   0,   0,   0,   0,   0,   -10,
    -10, -30, -7,  -10, -10, -7,  -30, -10,
};

constexpr int bishop_pcsq[64] = {
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, 0,  0,  0,  0,  0,  0,  -8,
    -8, 0,  5,  5,  5,  5,  0,  -8,
    -8, 6,  5,  10, 10, 5,  6,  -8,
    -8, 0,  6,  10, 10, 6,  0,  -8,
    -8, 0,  5,  5,  5,  5,  0,  -8,
    -8, 0,  0,  0,  0,  0,  0,  -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
};

// The king keeps to its corner while the opponent has pieces to attack it.
constexpr int king_pcsq[64] = {
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
    -4, -4, -4, -4, -4, -4, -4, -4,
    0,  4,  8,  -4, 0,  -4, 8,  4,
};

// Without them it heads for the centre.
constexpr int king_endgame_pcsq[64] = {
    0,  10, 20, 30, 30, 20, 10, 0,
    10, 20, 30, 40, 40, 30, 20, 10,
    20, 30, 40, 50, 50, 40, 30, 20,
    30, 40, 50, 60, 60, 50, 40, 30,
    30, 40, 50, 60, 60, 50, 40, 30,
    20, 30, 40, 50, 50, 40, 30, 20,
    10, 20, 30, 40, 40, 30, 20, 10,
    0,  10, 20, 30, 30, 20, 10, 0,
};

// Charged to every pawn by its file: edge pawns are worth less.
constexpr int file_penalty[8] = {7, 6, 1, 0, 0, 1, 6, 7};

// Credited for a man standing on a square of the initial array that held
// another man, by the piece code now there (EMPTY included).
constexpr int development_weight[7] = {1, 4, 3, 0, 0, 0, 0};

constexpr int E = EMPTY;
constexpr int initial_color[64] = {
    1, 1, 1, 1, 1, 1, 1, 1,
    1, 1, 1, 1, 1, 1, 1, 1,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0,
};
constexpr int initial_piece[64] = {
    3, 1, 2, 4, 5, 2, 1, 3,
    0, 0, 0, 0, 0, 0, 0, 0,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    E, E, E, E, E, E, E, E,
    0, 0, 0, 0, 0, 0, 0, 0,
    3, 1, 2, 4, 5, 2, 1, 3,
};

constexpr int SAFETY_DIVISOR = 3250;     // opponent's material per unit of king-safety weight
constexpr int ENDGAME_MATERIAL = 1200;   // opponent's material beyond its king at or below which the king centralises

// What the scoring pass needs to know about the whole board. Pawn files are
// indexed file + 1, so that the neighbours of the a- and h-files read as
// files without pawns.
struct census {
    int material[2];                   // piece values, kings included
    int development[2];
    int pawns_on_file[2][10];
    int top_pawn_row[2][10];           // lowest row index of a pawn on the file, 8 when none
    int bottom_pawn_row[2][10];        // highest, -1 when none
    bool rook_on_seventh[2];
};

int file_of(int sq) { return sq & 7; }
int row_of(int sq) { return sq >> 3; }
int square_colour(int sq) { return (row_of(sq) + file_of(sq)) & 1; }
int own_view(int side_of_man, int sq) { return side_of_man == LIGHT ? sq : flip[sq]; }

void take_census(census& c) {
    c = census{};
    for (int s = 0; s < 2; s++)
        for (int f = 0; f < 10; f++) {
            c.top_pawn_row[s][f] = 8;
            c.bottom_pawn_row[s][f] = -1;
        }
    for (int sq = 0; sq < 64; sq++) {
        const int s = color[sq], p = piece[sq];
        const int home = initial_color[sq];
        if (home != EMPTY && (s != home || p != initial_piece[sq]))
            c.development[home] += development_weight[p];
        if (s == EMPTY) continue;
        c.material[s] += piece_value[p];
        if (p == PAWN) {
            const int f = file_of(sq) + 1, r = row_of(sq);
            c.pawns_on_file[s][f]++;
            if (r < c.top_pawn_row[s][f]) c.top_pawn_row[s][f] = r;
            if (r > c.bottom_pawn_row[s][f]) c.bottom_pawn_row[s][f] = r;
        } else if (p == ROOK && row_of(own_view(s, sq)) == 1) {
            c.rook_on_seventh[s] = true;
        }
    }
}

bool has_pawns(const census& c, int s) {
    for (int f = 1; f <= 8; f++)
        if (c.pawns_on_file[s][f]) return true;
    return false;
}

bool pawns_on(const census& c, int s, int file) { return c.pawns_on_file[s][file + 1] > 0; }

// A pawn of colour `owner` on `file` stands ahead of row `row`, "ahead" as
// seen by `viewer` (towards rank 8 for light, rank 1 for dark).
bool pawn_ahead(const census& c, int owner, int file, int row, int viewer) {
    return viewer == LIGHT ? c.top_pawn_row[owner][file + 1] < row
                           : c.bottom_pawn_row[owner][file + 1] > row;
}

// The same over the file and its two neighbours: the front span of a pawn.
bool pawn_in_span(const census& c, int owner, int file, int row, int viewer) {
    for (int f = file - 1; f <= file + 1; f++)
        if (pawn_ahead(c, owner, f, row, viewer)) return true;
    return false;
}

// The bishops of one side met so far in the a8-to-h1 walk, by square colour.
struct bishops_seen {
    bool on[2];
};

int bishop_terms(int sq, int s, bishops_seen& seen) {
    seen.on[square_colour(sq)] = true;
    const int pair = seen.on[0] && seen.on[1] ? 15 : 0;
    return bishop_pcsq[own_view(s, sq)] + pair;
}

int rook_terms(const census& c, int sq, int s) {
    const int f = file_of(sq), enemy = 1 - s;
    const int enemy_king = s == LIGHT ? dark_king_sq : light_king_sq;
    int score = 0;
    if (!pawns_on(c, s, f)) {
        score += 8;
        if (file_of(enemy_king) == f) score += 10;
        if (!pawns_on(c, enemy, f)) score += 12;
    }
    if (c.rook_on_seventh[s]) score += 15;
    return score;
}

int pawn_terms(const census& c, int sq, int s, const bishops_seen& seen) {
    const int enemy = 1 - s, f = file_of(sq), r = row_of(sq);
    const int colour = square_colour(sq);
    int score = pawn_pcsq[own_view(s, sq)];
    // Bishops on the other colour work with the pawn; on its own colour the
    // pawn blocks them.
    if (seen.on[1 - colour]) score += 2;
    if (seen.on[colour]) score -= 1;
    const int front = s == LIGHT ? sq - 8 : sq + 8;
    if (front >= 0 && front < 64 && color[front] == enemy) {
        score -= 5;
        if (piece[front] == KNIGHT) score -= 3;   // a blockading knight is the worst
    }
    if (c.pawns_on_file[s][f + 1] > 1) score -= 6;             // doubled
    if (!pawns_on(c, s, f - 1) && !pawns_on(c, s, f + 1)) score -= 8;   // isolated
    if (!pawn_in_span(c, enemy, f, r, s)) score += (7 - row_of(own_view(s, sq))) * 12;   // passed
    // Nothing behind it can come up to defend it (a backward or lone pawn);
    // worse still when it is not even blocked by an enemy pawn on its file,
    // and so open to attack from the front.
    if (!pawn_in_span(c, s, f, r, enemy)) {
        score -= 5;
        if (!pawn_ahead(c, enemy, f, r, s)) score -= 2;
    }
    return score - file_penalty[f];
}

// An enemy pawn of colour `by` attacks square sq.
bool pawn_attacks(int by, int sq) {
    const int left = by == LIGHT ? sq + 7 : sq - 9;    // the attacker on the a-side
    const int right = by == LIGHT ? sq + 9 : sq - 7;   // the attacker on the h-side
    auto pawn_at = [by](int at) { return at >= 0 && at < 64 && color[at] == by && piece[at] == PAWN; };
    return (file_of(sq) > 0 && pawn_at(left)) || (file_of(sq) < 7 && pawn_at(right));
}

// The three files of a castled king's wing and the squares in front of it.
// The dark king pays 6, not 12, for a file without its own pawns.
int wing_terms(const census& c, int s, int first_file) {
    const int enemy = 1 - s;
    const int own_open_cost = s == LIGHT ? 12 : 6;
    const int shelter_row = s == LIGHT ? 6 : 1;
    int score = 0;
    bool attacked = false;
    for (int f = first_file; f < first_file + 3; f++) {
        if (!pawns_on(c, enemy, f)) score -= 6;
        if (!pawns_on(c, s, f)) score -= own_open_cost;
        if (pawn_attacks(enemy, shelter_row * 8 + f)) attacked = true;
    }
    return attacked ? score - 10 : score;
}

// Scaled by how much material the opponent has left to attack with.
int king_safety(const census& c, int k, int s) {
    const int home = own_view(s, k);
    int score = king_pcsq[home];
    if (file_of(k) == 3 || file_of(k) == 4) score -= 5;
    if (home == G1 || home == H1) score += wing_terms(c, s, 5);
    else if (home == A1 || home == B1 || home == C1) score += wing_terms(c, s, 0);
    return score * (c.material[1 - s] / SAFETY_DIVISOR);
}

int king_terms(const census& c, int k, int s) {
    if (c.material[1 - s] - piece_value[KING] > ENDGAME_MATERIAL) return king_safety(c, k, s);
    return king_endgame_pcsq[own_view(s, k)];
}

}  // namespace

// Edition 2.3 evaluates every position in full: the window is not used.
int eval(int /*alpha*/, int /*beta*/) {
    chash[CHASH_EVAL]++;
    census c;
    take_census(c);
    int account[2];
    for (int s = 0; s < 2; s++)
        account[s] = c.material[s] + c.development[s] - (has_pawns(c, s) ? 0 : 7);

    bishops_seen seen[2] = {};
    for (int sq = 0; sq < 64; sq++) {
        const int s = color[sq];
        if (s == EMPTY) continue;
        switch (piece[sq]) {
            case PAWN: account[s] += pawn_terms(c, sq, s, seen[s]); break;
            case KNIGHT: account[s] += knight_pcsq[own_view(s, sq)]; break;
            case BISHOP: account[s] += bishop_terms(sq, s, seen[s]); break;
            case ROOK: account[s] += rook_terms(c, sq, s); break;
            case KING: account[s] += king_terms(c, sq, s); break;
            default: break;   // the queen has nothing beyond its material
        }
    }
    const int light_view = account[LIGHT] - account[DARK];
    return side == LIGHT ? light_view : -light_view;
}
