// eval/material.h: piece values, the running material balance and the
// game-phase flag shared by set-up, move making, scoring and evaluation.
#pragma once

extern const int piece_value[6];   // pawn 100 ... king 10000, by piece code
extern int material_balance;       // light's material minus dark's, kings included
extern int is_endgame;             // 1 when endgame rules apply; set once per search
