// eval/pieces.cpp: piece terms and king safety.
#include "eval/pieces.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/evalcache.h"

// The first rank is not the mirror of the eighth: g1 is -20, h1 is 0.
const int knight_pcsq[64] = {
    -20, -10, -10, -10, -10, -10, -10, -20,
    -10,   1,   1,   1,   1,   1,   1, -10,
    -10,   1,   8,   8,   8,   8,   1, -10,
    -10,   1,   8,  10,  10,   8,   1, -10,
    -10,   1,   8,  10,  10,   8,   1, -10,
    -10,   1,  15,   8,   8,  15,   1, -10,
    -10,   1,   1,   1,   1,   1,   1, -10,
    -20, -10, -10, -10, -10, -10, -20,   0,
};

const int bishop_pcsq[64] = {
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8,  0,  0,  0,  0,  0,  0, -8,
    -8,  0,  0,  0,  0,  0,  0, -8,
    -8, 10, 10, 10, 10, 10, 10, -8,
    -8,  4, 10, 10, 10, 10,  4, -8,
    -8,  0,  7,  0,  0,  7,  0, -8,
    -8,  1,  0,  2,  2,  0,  1, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
};

const int BKA[64] = {
    2, 2, 4, 4, 4, 4, 2, 2,
    2, 5, 7, 7, 7, 7, 5, 2,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    2, 5, 7, 7, 7, 7, 5, 2,
    2, 2, 4, 4, 4, 4, 2, 2,
};

const int tropism[6] = {10, 8, 4, 2, 6, 20};

namespace {

// One side's men, seen from that side: the dark side reads the tables flipped.
struct side_sets {
    BitBoard knights, bishops, rooks, queens, bishopsqueens, rooksqueens, pieces, occupied;
    int king;
};

side_sets light_sets() {
    return {light_knights, light_bishops, light_rooks, light_queens, light_bishopsqueens,
            light_rooksqueens, light_pieces, light_occupied, light_king_sq};
}

side_sets dark_sets() {
    return {dark_knights, dark_bishops, dark_rooks, dark_queens, dark_bishopsqueens,
            dark_rooksqueens, dark_pieces, dark_occupied, dark_king_sq};
}

// Knights, bishops, queens and rooks of one side: table values, tropism,
// knights near the enemy king, bishops on a line with enemy rooks.
int placement(const side_sets& own, const side_sets& enemy, bool light) {
    int s = 0;
    auto table_sq = [light](int sq) { return light ? sq : flip[sq]; };
    auto pull = [light](int sq) { return light ? tropismo_light(sq) : tropismo_dark(sq); };
    for (BitBoard n = own.knights; n; n &= n - 1) {
        const int sq = BBf(n);
        s += knight_pcsq[table_sq(sq)] + pull(sq) + 5 * PopCnt(knight_moves[sq] & king_moves[enemy.king]);
    }
    for (BitBoard b = own.bishopsqueens; b; b &= b - 1) {
        const int sq = BBf(b);
        s += bishop_pcsq[table_sq(sq)];
        if (own.bishops & mask[sq]) s += PopCnt(enemy.rooks & diag[sq]);
        s += pull(sq);
    }
    for (BitBoard r = own.rooksqueens; r; r &= r - 1) s += pull(BBf(r)) + 10;
    return s;
}

BitBoard corner_neighbours() {
    return king_moves[A1] | king_moves[H1] | king_moves[A8] | king_moves[H8];
}

bool on(int sq, BitBoard set) { return mask[sq] & set; }

// A king on its opponent's back rank, with no heavy piece of its own beside
// it there, facing heavy pieces, and no flight square on the next rank.
bool edge_rank_danger(const side_sets& own, const side_sets& enemy, int rank_row, int next_row) {
    return on(own.king, filas[rank_row]) && !(own.rooksqueens & filas[rank_row]) && enemy.rooksqueens &&
           !(king_moves[own.king] & filas[next_row] & empty_squares);
}

}  // namespace

int tropismo_light(int sq) { return tropism[piece[sq]] / (dt[sq][dark_king_sq] + 1); }

int tropismo_dark(int sq) { return tropism[piece[sq]] / (dt[sq][light_king_sq] + 1); }

int develop_index() {
    return 8 * PopCnt(light_knights & ~filas[7]) + 6 * PopCnt(light_bishops & ~filas[7]) +
           3 * PopCnt(light_queens & ~filas[7]) - 8 * PopCnt(dark_knights & ~filas[0]) -
           6 * PopCnt(dark_bishops & ~filas[0]) - 2 * PopCnt(dark_queens & ~filas[0]);
}

int eval_pieces() {
    int s;
    if (hm_probe(&s)) return s;
    const side_sets L = light_sets(), D = dark_sets();
    s = 0;
    if (!D.rooks) s += 7;
    if (!L.rooks) s -= 7;
    if (!is_endgame) s += 15 * (PopCnt(L.pieces) - PopCnt(D.pieces));
    s += develop_index();
    s += placement(L, D, true) - placement(D, L, false);

    if (is_endgame) s += 2 * BKA[L.king] - 2 * BKA[D.king];
    else s += 2 * BKA[D.king] * PopCnt(L.pieces) - 2 * BKA[L.king] * PopCnt(D.pieces);

    s += 30 * (PopCnt(L.rooks & filas[1]) - PopCnt(D.rooks & filas[6]));
    s += 24 * (PopCnt(L.rooks & filas[0]) - PopCnt(D.rooks & filas[7]));
    if (PopCnt(L.rooksqueens & filas[1]) > 1) s += 15;
    if (PopCnt(D.rooksqueens & filas[6]) > 1) s -= 15;
    if (PopCnt(L.rooksqueens & filas[0]) > 1) s += 12;
    if (PopCnt(D.rooksqueens & filas[7]) > 1) s -= 12;

    if (is_endgame) {
        if (L.pieces == (L.knights | mask[L.king])) s -= 10;
        if (D.pieces == (D.knights | mask[D.king])) s += 10;
    } else {
        const BitBoard centre_files = columnas[2] | columnas[3] | columnas[4] | columnas[5];
        s += 4 * (PopCnt(L.rooks & centre_files) - PopCnt(D.rooks & centre_files));
        s -= 3 * (PopCnt(L.rooks & corner_neighbours()) - PopCnt(D.rooks & corner_neighbours()));
        s -= 3 * (PopCnt(L.rooks & A1H1A8H8) - PopCnt(D.rooks & A1H1A8H8));
    }

    if (PopCnt(L.bishops) > 1) s += 25;
    if (PopCnt(D.bishops) > 1) s -= 25;
    if (PopCnt(L.queens) == 1 && L.knights) s += 10;
    if (PopCnt(D.queens) == 1 && D.knights) s -= 10;

    // Rooks shut in by their own king.
    if ((L.king == F1 || L.king == G1) && on(H1, L.rooks)) s -= 25;
    if ((L.king == B1 || L.king == C1 || L.king == D1) && on(A1, L.rooks)) s -= 25;
    if ((D.king == F8 || D.king == G8) && on(H8, D.rooks)) s += 25;
    if ((D.king == B8 || D.king == C8 || D.king == D8) && on(A8, D.rooks)) s += 25;

    if (edge_rank_danger(L, D, 0, 1)) s -= 15;
    if (edge_rank_danger(D, L, 7, 6)) s += 15;

    if (!is_endgame) {
        if (on(D.king, E8F8G8)) s += 10;
        if (on(L.king, E1F1G1)) s -= 10;
    }
    hm_update(s);
    return s;
}

namespace {

// In the endgame: driving a bare enemy king to the edge, near our own king.
int bare_king_drive(int own_king, int bare_king) {
    return tropism[KING] / (dt[bare_king][own_king] + 1) - 3 * BKA[bare_king];
}

// Shelter of the king on k in the middle game, in its own side's view.
// `front` is the zone ahead of the king; `fianchetto` its castled corner,
// `g_pawn` the square of the pawn that guards it, `bishop_colour` the square
// colour that pawn covers.
int king_shelter(int k, BitBoard own_pawns, BitBoard enemy_pawns, BitBoard front, bool enemy_queen,
                 bool enemy_heavy, BitBoard own_open, BitBoard enemy_open, BitBoard fianchetto, int g_pawn,
                 BitBoard own_bishops, BitBoard enemy_bishops, BitBoard bishop_colour) {
    int s = enemy_queen ? 0 : 8;
    s += 3 * PopCnt(own_pawns & king_area[k] & front);
    s -= 15 * PopCnt(enemy_pawns & king_area[k] & front);
    s -= 18 * PopCnt(enemy_pawns & king_moves[k] & front);
    s += 8 * PopCnt(own_pawns & king_moves[k]);
    if (!(own_pawns & front)) s -= 40;
    if (enemy_heavy) {
        const BitBoard files = mask[k] | sider[k];
        s -= 10 * PopCnt(files & enemy_open);   // files without enemy pawns
        s -= 18 * PopCnt(files & own_open);     // files without own pawns
    }
    if ((mask[k] & fianchetto) && !(own_pawns & mask[g_pawn]) && !(own_bishops & bishop_colour)) {
        s -= 12;
        if (enemy_bishops & bishop_colour) s -= 12;
    }
    return s;
}

}  // namespace

int eval_light_king(int k) {
    if (is_endgame) return PopCnt(dark_occupied) == 1 ? bare_king_drive(k, dark_king_sq) : 0;
    return king_shelter(k, light_pawns, dark_pawns, horizonte[LIGHT][k], dark_queens != 0,
                        dark_rooksqueens != 0, light_open_columns, dark_open_columns, H1G1F1, G2,
                        light_bishops, dark_bishops, light_squares);
}

int eval_dark_king(int k) {
    if (is_endgame) return PopCnt(light_occupied) == 1 ? bare_king_drive(k, light_king_sq) : 0;
    return king_shelter(k, dark_pawns, light_pawns, horizonte[DARK][k], light_queens != 0,
                        light_rooksqueens != 0, dark_open_columns, light_open_columns, H8G8F8, G7,
                        dark_bishops, light_bishops, dark_squares);
}
