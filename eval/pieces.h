// eval/pieces.h: piece placement and cooperation (cached in the material
// table under master_material) and the safety of each king.
// Editions: 3.5, 3.0; 3.0's implementation is editions/v30/pieces.cpp.
#pragma once

extern const int knight_pcsq[64];   // light's view; a dark piece on sq reads flip[sq]
extern const int bishop_pcsq[64];   // read for bishops and queens
extern const int BKA[64];           // king centralisation, the same for both sides
extern const int tropism[6];        // pull of each piece kind towards the enemy king

int eval_pieces();               // light-positive
int develop_index();             // minor pieces and queens off their first rank
int tropismo_light(int sq);      // the light piece on sq towards the dark king
int tropismo_dark(int sq);       // the dark piece on sq towards the light king
int eval_light_king(int king_sq);   // in light's view
int eval_dark_king(int king_sq);    // in dark's view
