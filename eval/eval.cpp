// eval/eval.cpp: the evaluation driver and the material state.
#include "eval/eval.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/endings.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "hash/evalcache.h"
#include "moves/attack.h"

const int piece_value[6] = {100, 305, 315, 500, 900, 10000};
constinit thread_local int material_balance{};
constinit thread_local int is_endgame{};

namespace {

constexpr int LAZY_MARGIN = 180;

// Rook terms of one side: a connected pair, and rooks on files without own
// pawns or without any pawns.
int rook_terms(BitBoard rooks, BitBoard own_open) {
    if (!rooks) return 0;
    int s = connected_rooks(rooks) ? 15 : 0;
    s += 6 * PopCnt(rooks & own_open);
    s += 10 * PopCnt(rooks & light_open_columns & dark_open_columns);
    return s;
}

// Bishops hemmed in by their own men: next to them on a diagonal, or anywhere on their diagonals.
int bishop_terms(BitBoard bishops, BitBoard own) {
    int s = 0;
    for (; bishops; bishops &= bishops - 1) {
        const int b = BBf(bishops);
        if (diag[b] & king_moves[b] & own) s -= 5;
        s -= 2 * PopCnt(diag[b] & own);
    }
    return s;
}

// Knights whose squares the enemy pawns cover.
int knight_terms(BitBoard knights, BitBoard enemy_pawn_attacks) {
    int s = 0;
    for (; knights; knights &= knights - 1) s -= 2 * PopCnt(knight_moves[BBf(knights)] & enemy_pawn_attacks);
    return s;
}

}  // namespace

int connected_rooks(BitBoard rooks) {
    if (PopCnt(rooks) != 2) return 0;
    const int a = BBf(rooks), b = BBlast(rooks);
    const bool same_line = (a >> 3) == (b >> 3) || (a & 7) == (b & 7);
    return same_line && !(entre[a][b] & casillas_ocupadas);
}

int endgame() {
    const BitBoard pieces = computer_side == LIGHT ? dark_pieces : light_pieces;
    const int phase = PopCnt(pieces) <= 3 ? 1 : 0;
    // The cached pawn scores belong to the old phase.
    if (phase != is_endgame) clear_p_hash();
    return phase;
}

int CastleEval() {
    const int opponent_rights =
        side == LIGHT ? CASTLE_DARK_SHORT | CASTLE_DARK_LONG : CASTLE_LIGHT_SHORT | CASTLE_LIGHT_LONG;
    if (ply < 4) return 0;
    // Rights before the opponent's last move, and before its move before that.
    const hist_rec& last = hist_dat[ply - 1];
    const hist_rec& earlier = hist_dat[ply - 3];
    if ((last.castle & opponent_rights) || !(earlier.castle & opponent_rights) || (earlier.m.bits & MF_CASTLE))
        return 0;
    return side == LIGHT ? 20 : -20;
}

int eval(int alpha, int beta) {
    int s = eval_light_king(light_king_sq) + material_balance - eval_dark_king(dark_king_sq) + eval_pawns() +
            eval_pieces();
    if (is_endgame) {
        if (draw_ending()) return 0;
        s += eval_pawn_ending();
    }
    s += CastleEval();
    const int view = side == LIGHT ? s : -s;
    if (view > beta + LAZY_MARGIN || view < alpha - LAZY_MARGIN) return view;

    s += PinCalc();
    // From here on each term is charged to the side it concerns.
    int light = s > 0 ? s : 0;
    int dark = s > 0 ? 0 : -s;
    light -= 9 * PopCnt(light_bishops & (light_pawns >> 8));
    dark -= 9 * PopCnt(dark_bishops & (dark_pawns << 8));
    light += rook_terms(light_rooks, light_open_columns);
    dark += rook_terms(dark_rooks, dark_open_columns);
    light += bishop_terms(light_bishops, light_occupied);
    dark += bishop_terms(dark_bishops, dark_occupied);
    light += knight_terms(light_knights, dark_pawn_attacked);
    dark += knight_terms(dark_knights, light_pawn_attacked);
    return side == LIGHT ? light - dark : dark - light;
}
