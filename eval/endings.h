// eval/endings.h: dead-drawn material, and knowledge of king and pawn
// endings; both are used only in the endgame phase.
// Editions: 3.5.
#pragma once

int draw_ending();        // 1 for bare kings, or a lone minor piece against a bare king
int pawn_ending();        // 1 when both sides have only their king and pawns
int eval_pawn_ending();   // light-positive; 0 unless pawn_ending()
