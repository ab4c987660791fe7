// bitboard/tables.h: precomputed geometry: king and knight steps, ranks,
// files, lines, between-squares, pawn attacks, pawn horizons, castling masks.
// init_mask() builds them at the first set-up, and the piece sets at every one.
// Editions: 3.5, 3.0.
#pragma once
#include "bitboard/bitboard.h"

// Shared, built once at start-up (the first set-up), then only read.
extern BitBoard sider[64];            // the squares beside s on its rank
extern BitBoard king_moves[64];
extern BitBoard knight_moves[64];
extern BitBoard filas[8];             // filas[0] is the eighth rank
extern BitBoard columnas[8];          // columnas[0] is the a-file
extern BitBoard octavas;              // both back ranks
extern BitBoard central_squares;      // d5 e5 d4 e4
extern BitBoard cruz[64];             // rank and file through s, s included
extern BitBoard diag[64];             // both diagonals through s, s included
extern BitBoard star[64];             // cruz | diag
extern BitBoard king_area[64];        // squares within king distance 2, s included
extern BitBoard horizonte[2][64];     // zone in front of a pawn, its file and both neighbours
extern BitBoard light_squares, dark_squares;
extern BitBoard entre[64][64];        // squares strictly between two squares on a line
extern BitBoard light_pattack[64], dark_pattack[64];

extern BitBoard E1F1G1, E1D1C1, E8F8G8, E8D8C8;   // must not be attacked to castle
extern BitBoard H1F1, A1D1, H8F8, A8D8;           // rook squares toggled by castling
extern BitBoard H1G1F1, H8G8F8, A1H1A8H8;

extern const int sq_color[64];        // 0 light square, 1 dark square

void init_mask();           // builds the tables once, then the piece sets through init_occupied
void init_lines();          // filas, columnas, octavas, central_squares, cruz, diag, star
void init_king_moves();     // these two read columnas: build them after init_lines
void init_knight_moves();
void init_entre();
void init_horizonte();
