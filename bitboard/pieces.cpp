// bitboard/pieces.cpp: building and updating the piece sets.
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/position.h"

constinit thread_local BitBoard light_pawns{}, dark_pawns{};
constinit thread_local BitBoard light_knights{}, dark_knights{};
constinit thread_local BitBoard light_bishops{}, dark_bishops{};
constinit thread_local BitBoard light_rooks{}, dark_rooks{};
constinit thread_local BitBoard light_queens{}, dark_queens{};
constinit thread_local BitBoard light_occupied{}, dark_occupied{};
constinit thread_local BitBoard light_pieces{}, dark_pieces{};
constinit thread_local BitBoard light_rooksqueens{}, dark_rooksqueens{};
constinit thread_local BitBoard light_bishopsqueens{}, dark_bishopsqueens{};
constinit thread_local BitBoard empty_squares{};
constinit thread_local BitBoard light_pawn_attacked{}, dark_pawn_attacked{};
constinit thread_local BitBoard light_open_columns{}, dark_open_columns{};

namespace {

void toggle_or_set(BitBoard& set, int sq, int remove) {
    if (remove) set ^= mask[sq];
    else set |= mask[sq];
}

}  // namespace

namespace {

// One side's pawn sets, named directly rather than through references: the
// sets are per thread, and a reference to one would cost its address.
template <bool light>
void change_pawn(int sq, int remove) {
    BitBoard& pawns = light ? light_pawns : dark_pawns;
    BitBoard& open = light ? light_open_columns : dark_open_columns;
    BitBoard& attacked = light ? light_pawn_attacked : dark_pawn_attacked;
    const BitBoard attacks = light ? light_pattack[sq] : dark_pattack[sq];
    const BitBoard file = columnas[sq & 7];
    if (!remove) {
        pawns |= mask[sq];
        open &= ~file;
        attacked |= attacks;
        return;
    }
    pawns ^= mask[sq];
    if (!(pawns & file)) open |= file;
    attacked ^= attacks;
    // A square also attacked by another pawn of the side stays attacked.
    for (BitBoard a = attacks; a; a &= a - 1) {
        int k = BBf(a);
        if (pawns & sider[light ? k + 8 : k - 8]) attacked |= mask[k];
    }
}

}  // namespace

void modif_peon(int color, int sq, int remove) {
    if (color == LIGHT) change_pawn<true>(sq, remove);
    else change_pawn<false>(sq, remove);
}

void modif_caba(int color, int sq, int remove) {
    toggle_or_set(color == LIGHT ? light_knights : dark_knights, sq, remove);
}

void modif_alfil(int color, int sq, int remove) {
    toggle_or_set(color == LIGHT ? light_bishops : dark_bishops, sq, remove);
}

void modif_torre(int color, int sq, int remove) {
    toggle_or_set(color == LIGHT ? light_rooks : dark_rooks, sq, remove);
}

void modif_dama(int color, int sq, int remove) {
    toggle_or_set(color == LIGHT ? light_queens : dark_queens, sq, remove);
}

void modif_piece(int color, int kind, int sq, int remove) {
    switch (kind) {
        case PAWN: modif_peon(color, sq, remove); break;
        case KNIGHT: modif_caba(color, sq, remove); break;
        case BISHOP: modif_alfil(color, sq, remove); break;
        case ROOK: modif_torre(color, sq, remove); break;
        case QUEEN: modif_dama(color, sq, remove); break;
        default: break;   // a king is held by its square
    }
}

void init_occupied() {
    light_pawns = dark_pawns = light_knights = dark_knights = 0;
    light_bishops = dark_bishops = light_rooks = dark_rooks = 0;
    light_queens = dark_queens = light_occupied = dark_occupied = 0;
    light_pawn_attacked = dark_pawn_attacked = 0;
    light_open_columns = dark_open_columns = ~BitBoard{0};
    for (int s = 0; s < 64; s++) {
        if (color[s] == EMPTY) continue;
        int c = color[s];
        (c == LIGHT ? light_occupied : dark_occupied) ^= mask[s];
        modif_piece(c, piece[s], s, 0);
    }
    casillas_ocupadas = light_occupied | dark_occupied;
    empty_squares = ~casillas_ocupadas;
    derive_piece_sets();
    g90R_BitBoard(casillas_ocupadas, &casillas_ocupadas_90R);
}

void derive_piece_sets() {
    dark_pieces = dark_occupied ^ dark_pawns;
    light_pieces = light_occupied ^ light_pawns;
    light_rooksqueens = light_rooks | light_queens;
    dark_rooksqueens = dark_rooks | dark_queens;
    light_bishopsqueens = light_bishops | light_queens;
    dark_bishopsqueens = dark_bishops | dark_queens;
}
