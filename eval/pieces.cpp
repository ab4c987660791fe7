// eval/pieces.cpp: piece placement and king safety.
#include "eval/pieces.h"

const int BKA[64] = {
    2, 2, 4, 4, 4, 4, 2, 2,
    2, 5, 7, 7, 7, 7, 5, 2,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    4, 7, 9, 9, 9, 9, 7, 4,
    2, 5, 7, 7, 7, 7, 5, 2,
    2, 2, 4, 4, 4, 4, 2, 2,
};
