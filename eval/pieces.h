// eval/pieces.h: piece placement and king safety.
#pragma once

extern const int BKA[64];   // centralisation by square, the same for both sides
