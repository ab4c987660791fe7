// eval/endings.cpp: drawn material and pawn endings.
#include "eval/endings.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include "board/position.h"

int draw_ending() {
    if (light_pawns | dark_pawns) return 0;
    const int light_men = PopCnt(light_occupied), dark_men = PopCnt(dark_occupied);
    if (light_men == 1 && dark_men == 1) return 1;
    if (dark_men == 1 && light_men == 2 && (light_bishops | light_knights)) return 1;
    if (light_men == 1 && dark_men == 2 && (dark_bishops | dark_knights)) return 1;
    return 0;
}

int pawn_ending() {
    return (light_pieces | dark_pieces) == (mask[light_king_sq] | mask[dark_king_sq]);
}

namespace {

// Passed pawns of one side, in that side's view: the race to the promotion
// square (a bare distance count), a protecting pawn, and the enemy king
// blocking in front of the pawn, on the promotion square or two ranks behind.
int passed_pawn_terms(BitBoard pawns, BitBoard enemy_pawns, BitBoard defended, const BitBoard* front,
                      int enemy_king, int promotion_row, int behind, bool own_move) {
    int s = 0;
    for (BitBoard p = pawns; p; p &= p - 1) {
        const int sq = BBf(p);
        if (enemy_pawns & front[sq]) continue;
        const int q = promotion_row * 8 + (sq & 7);
        if (dt[enemy_king][q] > dt[sq][q]) s += 900;
        if (defended & mask[sq]) s += 50;
        if (front[sq] & mask[enemy_king]) s -= 30;
        if (enemy_king == q) s -= 20;
        if (enemy_king == sq + behind && own_move) s -= 20;
    }
    return s;
}

}  // namespace

int eval_pawn_ending() {
    if (!pawn_ending()) return 0;
    int s = passed_pawn_terms(light_pawns, dark_pawns, light_pawn_attacked, horizonte[LIGHT], dark_king_sq,
                              0, 16, side == LIGHT);
    s -= passed_pawn_terms(dark_pawns, light_pawns, dark_pawn_attacked, horizonte[DARK], light_king_sq, 7,
                           -16, side == DARK);
    const BitBoard edges = columnas[0] | columnas[7];
    // Deliberately uneven: a light edge pawn costs 10, a dark one gives 1.
    s += PopCnt(dark_pawns & edges) - 10 * PopCnt(light_pawns & edges);
    // Only the dark king two ranks below the light one counts.
    if (dark_king_sq == light_king_sq + 16) s += side == DARK ? 15 : -15;
    const int majority = PopCnt(light_pawns) - PopCnt(dark_pawns);
    if (majority > 1) s += 200;
    if (majority < -1) s -= 200;
    return s;
}
