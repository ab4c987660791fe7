// moves/attack.h: attacked squares, checks, full attack maps, bishop pins
// and king distance.
// Editions: 3.5, 3.0, 2.3; 2.3 implements only attack and in_check, in editions/v23/make.cpp.
#pragma once
#include "bitboard/bitboard.h"

int attack(int sq, int by);   // 1 when side `by` attacks square sq
int in_check(int s);          // 1 when the king of side s is attacked
// Attack map of side s: *all gets every square it attacks (defended men
// included); from[t] gains the squares of its men attacking t. The caller
// clears `from` first; entries of unattacked squares are left as they were.
int saBit(int s, BitBoard* all, BitBoard from[64]);
// The men of side s attacking square sq: from[sq] of saBit, for one square.
BitBoard attackers(int sq, int s);
// The same for the side to move and for the other side at once.
void attackers_both(int sq, BitBoard* by_side, BitBoard* by_xside);
int PinCalc();                // bishop pins against king and queen, light-positive
int distancia(int a, int b);  // king distance
