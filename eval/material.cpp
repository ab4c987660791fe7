// eval/material.cpp: material state.
#include "eval/material.h"

const int piece_value[6] = {100, 305, 315, 500, 900, 10000};
int material_balance;
int is_endgame;
