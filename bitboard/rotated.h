// bitboard/rotated.h: the occupancy set, its copy rotated by 90 degrees (each
// file one byte), and the rook attack tables indexed by a rank or file byte.
// Editions: 3.5, 3.0.
#pragma once
#include "bitboard/bitboard.h"

extern BitBoard casillas_ocupadas;       // every occupied square
extern BitBoard casillas_ocupadas_90R;   // the same, square s at bit rotator90R[s]
extern const int rotator90R[64];         // (7 - file) * 8 + row
extern const int rotator90L[64];         // the inverse mapping
extern BitBoard ataque_horizontal[64][256];   // [square][rank byte]: rook attacks along the rank
extern BitBoard ataque_vertical[64][256];     // [square][file byte]: rook attacks along the file

int ocupacion_horizontal(int s, BitBoard occ);   // the byte of occ on the rank of s
int ocupacion_vertical(int s, BitBoard occ);     // the rotated byte of occ on the file of s
void g90R_BitBoard(BitBoard b, BitBoard* out);  // *out = b rotated
BitBoard BBat7(int occ, BitBoard sq);           // rank attack of a rook on the single square of sq
void init_rook_attacks();   // rotates the occupancy and builds both attack tables

// Straight-line attacks of a rook (or queen) on s under the occupancy occ.
inline BitBoard rook_attacks(int s, BitBoard occ) {
    return ataque_horizontal[s][ocupacion_horizontal(s, occ)] |
           ataque_vertical[s][ocupacion_vertical(s, occ)];
}
