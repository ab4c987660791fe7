// editions/v23/eval.cpp: edition 2.3's evaluation, read straight from the
// board arrays. Two accounts, light and dark, collect material, development,
// piece-square values, bishop pair, rook files, pawn structure and king
// safety; the result is their difference from the side to move's view.
//
// The board arrays are first turned into one 64-bit set of squares per
// colour and kind (sixteen squares at a time where the processor has byte
// compares), so that the terms that look at pawns anywhere on the board
// are masks and counts instead of walks. The men are then scored kind by
// kind. The bishop terms keep the order of a walk from a8 to h1: a bishop
// counts for the pair and for the pawns only when it stands on a lower
// square number than the man being scored.
#include "eval/eval.h"
#include "board/position.h"
#include "search/state.h"
#include "editions/v23/squares23.h"
#include <bit>
#include <cstdint>

const int piece_value[6] = {100, 300, 305, 500, 950, 10000};

namespace {

// Piece-square tables, light's view, rank 8 first; a dark man reads the
// square mirrored top to bottom.
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

// Term weights.
constexpr int NO_PAWNS = 7;              // charged to a side without pawns
constexpr int BISHOP_PAIR = 15;          // to each bishop once both square colours have been met
constexpr int PAWN_WITH_BISHOP = 2;      // a pawn on the other colour than a bishop met before it
constexpr int PAWN_AGAINST_BISHOP = 1;   // a pawn on the colour of a bishop met before it
constexpr int PAWN_BLOCKED = 5;          // an enemy man stands right in front of it
constexpr int PAWN_BLOCKED_BY_KNIGHT = 3;   // more when that man is a knight
constexpr int PAWN_DOUBLED = 6;
constexpr int PAWN_ISOLATED = 8;
constexpr int PAWN_PASSED_PER_ROW = 12;  // times the rows it still has to go
constexpr int PAWN_BACKWARD = 5;         // no own pawn behind it on its file or the next ones
constexpr int PAWN_BACKWARD_OPEN = 2;    // more when no enemy pawn stands ahead of it on its file
constexpr int ROOK_NO_OWN_PAWN = 8;
constexpr int ROOK_ON_KING_FILE = 10;
constexpr int ROOK_NO_ENEMY_PAWN = 12;
constexpr int ROOK_ON_SEVENTH = 15;      // to every rook of a side with one on its seventh rank
constexpr int KING_CENTRE_FILE = 5;      // a king on the d- or e-file, before the endgame
constexpr int WING_NO_ENEMY_PAWN = 6;
constexpr int WING_NO_OWN_PAWN_LIGHT = 12, WING_NO_OWN_PAWN_DARK = 6;
constexpr int WING_ATTACKED = 10;         // an enemy pawn attacks a square in front of the wing

using squares = uint64_t;   // bit n stands for square n

constexpr int file_of(int sq) { return sq & 7; }
constexpr int row_of(int sq) { return sq >> 3; }
constexpr int square_colour(int sq) { return (row_of(sq) + file_of(sq)) & 1; }
// The square as its owner sees it: a dark man's is mirrored top to bottom.
constexpr int own_view(int side_of_man, int sq) { return side_of_man == LIGHT ? sq : sq ^ 56; }
constexpr squares bit(int sq) { return squares(1) << sq; }

constexpr squares FILE_A = 0x0101010101010101ULL;
constexpr squares FILE_H = FILE_A << 7;
constexpr squares file_mask(int f) { return f < 0 || f > 7 ? 0 : FILE_A << f; }
// The squares of one colour (0: a8's, 1: the other).
constexpr squares colour_squares(int colour) {
    squares m = 0;
    for (int sq = 0; sq < 64; sq++)
        if (square_colour(sq) == colour) m |= bit(sq);
    return m;
}
constexpr squares COLOUR_SQUARES[2] = {colour_squares(0), colour_squares(1)};

// What a pawn is worth by its square alone: the table less its file's charge.
struct pawn_base_table {
    int value[2][64];
};
constexpr pawn_base_table make_pawn_base() {
    pawn_base_table t{};
    for (int s = 0; s < 2; s++)
        for (int sq = 0; sq < 64; sq++) t.value[s][sq] = pawn_pcsq[own_view(s, sq)] - file_penalty[file_of(sq)];
    return t;
}
constexpr pawn_base_table PAWN_BASE = make_pawn_base();

// Squares of the initial array that a side's man of a given kind stands on.
constexpr squares initial_squares(int s, int p) {
    squares m = 0;
    for (int sq = 0; sq < 64; sq++)
        if (initial_color[sq] == s && initial_piece[sq] == p) m |= bit(sq);
    return m;
}
// The rows of a side's initial array.
constexpr squares home_rows(int s) {
    squares m = 0;
    for (int sq = 0; sq < 64; sq++)
        if (initial_color[sq] == s) m |= bit(sq);
    return m;
}
constexpr squares HOME_ROWS[2] = {home_rows(LIGHT), home_rows(DARK)};
constexpr int DEVELOPING_KINDS = 3;   // pawns, knights and bishops carry a development weight
static_assert(PAWN == 0 && KNIGHT == 1 && BISHOP == 2);
static_assert(development_weight[ROOK] == 0 && development_weight[QUEEN] == 0 && development_weight[KING] == 0 &&
              development_weight[EMPTY] == 0);
constexpr squares INITIAL_SQUARES[2][DEVELOPING_KINDS] = {
    {initial_squares(LIGHT, PAWN), initial_squares(LIGHT, KNIGHT), initial_squares(LIGHT, BISHOP)},
    {initial_squares(DARK, PAWN), initial_squares(DARK, KNIGHT), initial_squares(DARK, BISHOP)},
};
// The seventh rank as each side sees it.
constexpr squares SEVENTH_ROW[2] = {squares(0xFF) << 8, squares(0xFF) << 48};

// The board as sets of squares.
struct men {
    squares of[2][6];                    // by colour and kind
    squares side_of[2];                  // by colour
    squares kind_of[DEVELOPING_KINDS];   // pawns, knights and bishops of either colour
};

#if defined(__SSE2__)
void read_board(men& b) {
    b = men{};
    for (int q = 0; q < 4; q++) {
        const __m128i colours = sixteen_bytes(color + 16 * q);
        const __m128i kinds = sixteen_bytes(piece + 16 * q);
        __m128i of_kind[6];
        for (int p = 0; p < 6; p++) of_kind[p] = _mm_cmpeq_epi8(kinds, _mm_set1_epi8(char(p)));
        for (int p = 0; p < DEVELOPING_KINDS; p++) b.kind_of[p] |= sixteen_bits(of_kind[p], q);
        for (int s = 0; s < 2; s++) {
            const __m128i of_side = _mm_cmpeq_epi8(colours, _mm_set1_epi8(char(s)));
            b.side_of[s] |= sixteen_bits(of_side, q);
            for (int p = 0; p < 6; p++) b.of[s][p] |= sixteen_bits(_mm_and_si128(of_side, of_kind[p]), q);
        }
    }
}
#else
void read_board(men& b) {
    b = men{};
    for (int sq = 0; sq < 64; sq++) {
        const int s = color[sq], p = piece[sq];
        if (p >= 0 && p < DEVELOPING_KINDS) b.kind_of[p] |= bit(sq);
        if (s != LIGHT && s != DARK) continue;
        b.side_of[s] |= bit(sq);
        if (p >= 0 && p < 6) b.of[s][p] |= bit(sq);
    }
}
#endif

// Credited to the side whose initial array it is: every pawn, knight or
// bishop standing on a square of that array where a different man started.
int development(const men& b, int home) {
    int d = 0;
    for (int p = 0; p < DEVELOPING_KINDS; p++) {
        const squares away = b.kind_of[p] & HOME_ROWS[home] & ~(b.of[home][p] & INITIAL_SQUARES[home][p]);
        d += development_weight[p] * std::popcount(away);
    }
    return d;
}

int material(const men& b, int s) {
    int m = 0;
    for (int p = PAWN; p <= KING; p++) m += piece_value[p] * std::popcount(b.of[s][p]);
    return m;
}

// A set moved one file towards the a-file and one towards the h-file.
squares beside(squares x) { return ((x & ~FILE_A) >> 1) | ((x & ~FILE_H) << 1); }

// The squares on the same file strictly ahead of some square of x, "ahead"
// as seen by `viewer` (towards rank 8, the lower numbers, for light).
squares ahead(int viewer, squares x) {
    if (viewer == LIGHT) {
        x >>= 8;
        x |= x >> 8;
        x |= x >> 16;
        return x | x >> 32;
    }
    x <<= 8;
    x |= x << 8;
    x |= x << 16;
    return x | x << 32;
}

// The squares above the lowest-numbered one of x: those a walk from a8 to
// h1 reaches after it.
squares after_first(squares x) {
    const squares first = x & (~x + 1);
    return x ? ~(first | (first - 1)) : 0;
}

// Each pawn is judged against the pawns of both sides on its file and the
// two next to it; the sets below hold the pawns that earn or pay each term.
int pawn_terms(const men& b, int s) {
    const int enemy = 1 - s;
    const squares own = b.of[s][PAWN], theirs = b.of[enemy][PAWN];
    // With an enemy man, or an enemy knight, right in front.
    const squares blocked = own & (s == LIGHT ? b.side_of[enemy] << 8 : b.side_of[enemy] >> 8);
    const squares knight_blocked = own & (s == LIGHT ? b.of[enemy][KNIGHT] << 8 : b.of[enemy][KNIGHT] >> 8);
    const squares own_files = ahead(LIGHT, own) | own | ahead(DARK, own);
    const squares doubled = own & (ahead(LIGHT, own) | ahead(DARK, own));
    const squares isolated = own & ~beside(own_files);
    // No enemy pawn ahead on its file or the next ones.
    const squares passed = own & ~ahead(enemy, theirs | beside(theirs));
    // Nothing behind it can come up to defend it (a backward or lone pawn);
    // worse still when it is not even blocked by an enemy pawn on its file,
    // and so open to attack from the front.
    const squares backward = own & ~ahead(s, own | beside(own));
    const squares backward_open = backward & ~ahead(enemy, theirs);
    // Bishops met before the pawn on the other colour work with it; on its
    // own colour the pawn blocks them.
    const squares after_bishop[2] = {after_first(b.of[s][BISHOP] & COLOUR_SQUARES[0]),
                                     after_first(b.of[s][BISHOP] & COLOUR_SQUARES[1])};
    const squares with_bishop = own & ((COLOUR_SQUARES[0] & after_bishop[1]) | (COLOUR_SQUARES[1] & after_bishop[0]));
    const squares against_bishop = own & ((COLOUR_SQUARES[0] & after_bishop[0]) | (COLOUR_SQUARES[1] & after_bishop[1]));

    int score = PAWN_WITH_BISHOP * std::popcount(with_bishop) - PAWN_AGAINST_BISHOP * std::popcount(against_bishop) -
                PAWN_BLOCKED * std::popcount(blocked) - PAWN_BLOCKED_BY_KNIGHT * std::popcount(knight_blocked) -
                PAWN_DOUBLED * std::popcount(doubled) - PAWN_ISOLATED * std::popcount(isolated) -
                PAWN_BACKWARD * std::popcount(backward) - PAWN_BACKWARD_OPEN * std::popcount(backward_open);
    for (squares left = own; left; left &= left - 1) score += PAWN_BASE.value[s][std::countr_zero(left)];
    for (squares left = passed; left; left &= left - 1)
        score += (7 - row_of(own_view(s, std::countr_zero(left)))) * PAWN_PASSED_PER_ROW;
    return score;
}

int knight_terms(const men& b, int s) {
    int score = 0;
    for (squares left = b.of[s][KNIGHT]; left; left &= left - 1)
        score += knight_pcsq[own_view(s, std::countr_zero(left))];
    return score;
}

// From a8 towards h1, each bishop earns the pair once the bishops met so
// far, itself included, stand on both square colours.
int bishop_terms(const men& b, int s) {
    int score = 0;
    bool seen[2] = {false, false};
    for (squares left = b.of[s][BISHOP]; left; left &= left - 1) {
        const int sq = std::countr_zero(left);
        seen[square_colour(sq)] = true;
        score += bishop_pcsq[own_view(s, sq)] + (seen[0] && seen[1] ? BISHOP_PAIR : 0);
    }
    return score;
}

int rook_terms(const men& b, int s) {
    const int enemy = 1 - s;
    const int enemy_king = s == LIGHT ? dark_king_sq : light_king_sq;
    const squares rooks = b.of[s][ROOK];
    const int seventh = (rooks & SEVENTH_ROW[s]) ? ROOK_ON_SEVENTH : 0;
    int score = 0;
    for (squares left = rooks; left; left &= left - 1) {
        const int f = file_of(std::countr_zero(left));
        score += seventh;
        if (!(b.of[s][PAWN] & file_mask(f))) {
            score += ROOK_NO_OWN_PAWN;
            if (file_of(enemy_king) == f) score += ROOK_ON_KING_FILE;
            if (!(b.of[enemy][PAWN] & file_mask(f))) score += ROOK_NO_ENEMY_PAWN;
        }
    }
    return score;
}

// The squares attacked by the pawns of colour `by` (a light pawn takes
// towards rank 8, a dark one towards rank 1).
squares pawn_attacks(const men& b, int by) {
    const squares pawns = b.of[by][PAWN];
    const squares not_a = ~FILE_A, not_h = ~FILE_H;
    if (by == LIGHT) return ((pawns & not_a) >> 9) | ((pawns & not_h) >> 7);
    return ((pawns & not_a) << 7) | ((pawns & not_h) << 9);
}

// The three files of a castled king's wing and the squares in front of it.
// The dark king pays 6, not 12, for a file without its own pawns.
int wing_terms(const men& b, int s, int first_file) {
    const int enemy = 1 - s;
    const int own_open_cost = s == LIGHT ? WING_NO_OWN_PAWN_LIGHT : WING_NO_OWN_PAWN_DARK;
    const int shelter_row = s == LIGHT ? 6 : 1;
    int score = 0;
    for (int f = first_file; f < first_file + 3; f++) {
        if (!(b.of[enemy][PAWN] & file_mask(f))) score -= WING_NO_ENEMY_PAWN;
        if (!(b.of[s][PAWN] & file_mask(f))) score -= own_open_cost;
    }
    const squares shelter = squares(7) << (shelter_row * 8 + first_file);
    return (pawn_attacks(b, enemy) & shelter) ? score - WING_ATTACKED : score;
}

// Scaled by how much material the opponent has left to attack with.
int king_safety(const men& b, int enemy_material, int k, int s) {
    const int home = own_view(s, k);
    int score = king_pcsq[home];
    if (file_of(k) == 3 || file_of(k) == 4) score -= KING_CENTRE_FILE;
    if (home == G1 || home == H1) score += wing_terms(b, s, 5);
    else if (home == A1 || home == B1 || home == C1) score += wing_terms(b, s, 0);
    return score * (enemy_material / SAFETY_DIVISOR);
}

int king_terms(const men& b, int enemy_material, int s) {
    int score = 0;
    for (squares left = b.of[s][KING]; left; left &= left - 1) {
        const int k = std::countr_zero(left);
        if (enemy_material - piece_value[KING] > ENDGAME_MATERIAL) score += king_safety(b, enemy_material, k, s);
        else score += king_endgame_pcsq[own_view(s, k)];
    }
    return score;
}

}  // namespace

// Edition 2.3 evaluates every position in full: the window is not used.
int eval(int /*alpha*/, int /*beta*/) {
    chash[CHASH_EVAL]++;
    men b;
    read_board(b);
    const int mat[2] = {material(b, LIGHT), material(b, DARK)};
    int account[2];
    for (int s = 0; s < 2; s++) {
        account[s] = mat[s] + development(b, s) - (b.of[s][PAWN] ? 0 : NO_PAWNS);
        account[s] += pawn_terms(b, s) + knight_terms(b, s) + bishop_terms(b, s) + rook_terms(b, s) +
                      king_terms(b, mat[1 - s], s);
    }
    const int light_view = account[LIGHT] - account[DARK];
    return side == LIGHT ? light_view : -light_view;
}
