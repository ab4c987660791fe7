// moves/attack.cpp: attack tests and attack maps.
#include "moves/attack.h"
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include <algorithm>
#include <cstdlib>

int attack(int sq, int by) {
    const bool light = by == LIGHT;
    const BitBoard knights = light ? light_knights : dark_knights;
    const BitBoard bishops = light ? light_bishops : dark_bishops;
    const BitBoard rooks = light ? light_rooks : dark_rooks;
    const BitBoard queens = light ? light_queens : dark_queens;
    const BitBoard target = mask[sq];

    if (knight_moves[sq] & knights) return 1;
    // A queen attacks every square next to it, so its neighbourhood is tested
    // together with the pawns and the king.
    BitBoard near = (light ? light_pawn_attacked : dark_pawn_attacked) |
                    king_moves[light ? light_king_sq : dark_king_sq];
    if (queens) near |= king_moves[BBf(queens)];
    if (near & target) return 1;

    BitBoard candidates = ((rooks & cruz[sq]) | (queens & star[sq]) | (bishops & diag[sq])) & ~target;
    for (; candidates; candidates &= candidates - 1)
        if (!(entre[sq][BBf(candidates)] & casillas_ocupadas)) return 1;
    return 0;
}

int in_check(int s) {
    return s == LIGHT ? attack(light_king_sq, DARK) : attack(dark_king_sq, LIGHT);
}

namespace {

// Every square of `targets` is attacked from `from_sq`.
void add_attacks(BitBoard targets, int from_sq, BitBoard* all, BitBoard from[64]) {
    *all |= targets;
    for (; targets; targets &= targets - 1) from[BBf(targets)] |= mask[from_sq];
}

}  // namespace

int saBit(int s, BitBoard* all, BitBoard from[64]) {
    const bool light = s == LIGHT;
    const BitBoard* pattack = light ? light_pattack : dark_pattack;
    *all = 0;
    for (BitBoard p = light ? light_pawns : dark_pawns; p; p &= p - 1) {
        int sq = BBf(p);
        add_attacks(pattack[sq], sq, all, from);
    }
    for (BitBoard r = light ? light_rooksqueens : dark_rooksqueens; r; r &= r - 1) {
        int sq = BBf(r);
        add_attacks(rook_attacks(sq, casillas_ocupadas), sq, all, from);
    }
    for (BitBoard b = light ? light_bishopsqueens : dark_bishopsqueens; b; b &= b - 1) {
        int sq = BBf(b);
        add_attacks(bishop_attacks(sq, casillas_ocupadas), sq, all, from);
    }
    for (BitBoard n = light ? light_knights : dark_knights; n; n &= n - 1) {
        int sq = BBf(n);
        add_attacks(knight_moves[sq], sq, all, from);
    }
    const int king = light ? light_king_sq : dark_king_sq;
    add_attacks(king_moves[king], king, all, from);
    return 1;
}

namespace {

// The men of side s attacking sq, given the squares a rook and a bishop on sq
// would reach.
BitBoard attackers_along(int sq, int s, BitBoard straight, BitBoard diagonal) {
    const bool light = s == LIGHT;
    // A pawn attacks the squares beside the one in front of it; a pawn on a
    // back rank attacks nothing.
    BitBoard pawns;
    if (light) pawns = sq < 56 ? sider[sq + 8] & light_pawns : 0;
    else pawns = sq >= 8 ? sider[sq - 8] & dark_pawns : 0;
    return (pawns & ~octavas) | (knight_moves[sq] & (light ? light_knights : dark_knights)) |
           (king_moves[sq] & mask[light ? light_king_sq : dark_king_sq]) |
           (straight & (light ? light_rooksqueens : dark_rooksqueens)) |
           (diagonal & (light ? light_bishopsqueens : dark_bishopsqueens));
}

}  // namespace

BitBoard attackers(int sq, int s) {
    return attackers_along(sq, s, rook_attacks(sq, casillas_ocupadas), bishop_attacks(sq, casillas_ocupadas));
}

void attackers_both(int sq, BitBoard* by_side, BitBoard* by_xside) {
    const BitBoard straight = rook_attacks(sq, casillas_ocupadas);
    const BitBoard diagonal = bishop_attacks(sq, casillas_ocupadas);
    *by_side = attackers_along(sq, side, straight, diagonal);
    *by_xside = attackers_along(sq, xside, straight, diagonal);
}

namespace {

// Value of the one man standing between a bishop and a target square, when
// exactly one man stands there and it is of a kind worth pinning.
struct pin_values {
    int knight, pawn, rook, queen;
};

int pin_against(int target, int bishop, BitBoard knights, BitBoard pawns, BitBoard rooks,
                BitBoard queens, const pin_values& v) {
    BitBoard x = entre[target][bishop] & casillas_ocupadas;
    if (PopCnt(x) != 1) return 0;
    if (x & knights) return v.knight;
    if (x & pawns) return v.pawn;
    if (x & rooks) return v.rook;
    if (x & queens) return v.queen;
    return 0;
}

constexpr pin_values against_king{15, 10, 25, 20};
constexpr pin_values against_queen{12, 8, 19, 0};

// Pins scored by the bishops of one side against the other side's men.
int pins_by(BitBoard bishops, int king_sq, BitBoard knights, BitBoard pawns, BitBoard rooks,
            BitBoard queens) {
    int score = 0;
    for (; bishops; bishops &= bishops - 1) {
        int b = BBf(bishops);
        score += pin_against(king_sq, b, knights, pawns, rooks, queens, against_king);
        if (queens)
            score += pin_against(BBf(queens), b, knights, pawns, rooks, queens, against_queen);
    }
    return score;
}

}  // namespace

int PinCalc() {
    return pins_by(light_bishops, dark_king_sq, dark_knights, dark_pawns, dark_rooks, dark_queens) -
           pins_by(dark_bishops, light_king_sq, light_knights, light_pawns, light_rooks, light_queens);
}

int distancia(int a, int b) {
    return std::max(std::abs((a & 7) - (b & 7)), std::abs((a >> 3) - (b >> 3)));
}
