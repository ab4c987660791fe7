// editions/v30/pieces.cpp: edition 3.0's piece score (piece material, rooks
// on the far ranks, the bishop pair; cached in the material table under
// master_material) and the safety of each king. The piece placement terms
// are charged in eval().
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
    -10,   1,   5,   5,   5,   5,   1, -10,
    -10,   1,   5,  10,  10,   5,   1, -10,
    -10,   1,   5,  10,  10,   5,   1, -10,
    -10,   1,   5,   5,   5,   5,   1, -10,
    -10,   1,   1,   1,   1,   1,   1, -10,
    -20, -10, -10, -10, -10, -10, -20,   0,
};

// Read for bishops and queens.
const int bishop_pcsq[64] = {
    -8, -8, -8, -8, -8, -8, -8, -8,
    -8,  0,  0,  0,  0,  0,  0, -8,
    -8,  0,  5,  5,  5,  5,  0, -8,
    -8,  0,  5, 10, 10,  5,  0, -8,
    -8,  0,  5, 10, 10,  5,  0, -8,
    -8,  0,  5,  5,  5,  5,  0, -8,
    -8,  0,  0,  0,  0,  0,  0, -8,
    -8, -8, -8, -8, -8, -8, -8, -8,
};

namespace {

int material_of(BitBoard knights, BitBoard bishops, BitBoard rooks, BitBoard queens) {
    return PopCnt(knights) * piece_value[KNIGHT] + PopCnt(bishops) * piece_value[BISHOP] +
           PopCnt(rooks) * piece_value[ROOK] + PopCnt(queens) * piece_value[QUEEN];
}

}  // namespace

int eval_pieces() {
    int s;
    if (hm_probe(&s)) return s;
    s = material_of(light_knights, light_bishops, light_rooks, light_queens) -
        material_of(dark_knights, dark_bishops, dark_rooks, dark_queens);
    s += 15 * (PopCnt(light_rooks & filas[1]) - PopCnt(dark_rooks & filas[6]));
    s += 12 * (PopCnt(light_rooks & filas[0]) - PopCnt(dark_rooks & filas[7]));
    if (PopCnt(light_bishops) > 1) s += 8;
    if (PopCnt(dark_bishops) > 1) s -= 8;
    hm_update(s);
    return s;
}

namespace {

// One side's king and what stands around it, in that side's view.
struct king_side {
    bool light;
    BitBoard own_pawns, enemy_pawns, own_men, enemy_men;
    BitBoard own_open, enemy_open;   // files without own pawns, without enemy pawns
    bool enemy_heavy;                // the enemy has a rook or a queen
};

// In the endgame: a central king is good, and a bare enemy king is driven
// to the edge, where its area shrinks.
int endgame_king(int k, int enemy_king, bool enemy_bare) {
    int s = 2 * PopCnt(king_area[k]);
    if (enemy_bare) s -= 15 * PopCnt(king_area[enemy_king]);
    return s;
}

// The shape of the king's corner: an intact shield of three second-rank
// pawns (anywhere but on d1 and e1), rooks shut in beside the king, the
// corner rook already out, and the king left in the centre.
int castle_shape(const king_side& ks, int k) {
    auto home = [&ks](int sq) { return ks.light ? sq : flip[sq]; };
    auto at = [&home](BitBoard set, int sq) { return (set & mask[home(sq)]) != 0; };
    const BitBoard second_rank = filas[ks.light ? 6 : 1];
    const BitBoard rooks = light_rooks | dark_rooks;   // either colour's rook blocks the corner
    const bool central = k == home(D1) || k == home(E1);
    int s = 0;
    if (!central && PopCnt(ks.own_pawns & second_rank & king_moves[k]) == 3) s += 8;
    if ((k == home(F1) || k == home(G1)) && (at(rooks, G1) || at(rooks, H1))) s -= 20;
    if ((k == home(B1) || k == home(C1)) && (at(rooks, A1) || at(rooks, B1))) s -= 20;
    if (k == home(G1) && at(empty_squares, H1)) s += 15;
    if (k == home(C1) && at(empty_squares, A1) && at(empty_squares, B1)) s += 15;
    if (central) s -= 10;
    return s;
}

// Shelter of the king on k in the middle game, in its own side's view.
int king_shelter(const king_side& ks, int k) {
    const BitBoard front = horizonte[ks.light ? LIGHT : DARK][k];
    const BitBoard area = king_area[k];
    int s = -2 * PopCnt(area);
    s += 6 * PopCnt(ks.own_pawns & area & front);
    s -= 15 * PopCnt(ks.enemy_pawns & area & front);
    s -= 18 * PopCnt(ks.enemy_pawns & king_moves[k] & front);
    s += 8 * PopCnt(ks.own_men & area);   // the king among them
    s -= 12 * PopCnt(ks.enemy_men & area);
    s += 8 * PopCnt(ks.own_pawns & king_moves[k]);
    if (ks.enemy_heavy) {
        const BitBoard files = mask[k] | sider[k];
        s -= 10 * PopCnt(files & ks.enemy_open);
        s -= 18 * PopCnt(files & ks.own_open);
    }
    return s + castle_shape(ks, k);
}

}  // namespace

int eval_light_king(int k) {
    if (is_endgame) return endgame_king(k, dark_king_sq, PopCnt(dark_occupied) == 1);
    const king_side ks{true, light_pawns, dark_pawns, light_occupied, dark_occupied,
                       light_open_columns, dark_open_columns, (dark_rooks | dark_queens) != 0};
    return king_shelter(ks, k);
}

int eval_dark_king(int k) {
    if (is_endgame) return endgame_king(k, light_king_sq, PopCnt(light_occupied) == 1);
    const king_side ks{false, dark_pawns, light_pawns, dark_occupied, light_occupied,
                       dark_open_columns, light_open_columns, (light_rooks | light_queens) != 0};
    return king_shelter(ks, k);
}
