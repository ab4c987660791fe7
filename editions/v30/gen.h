// editions/v30/gen.h: edition 3.0's attack maps, kept as per-square flags of
// attacker kinds, and its move generators. The front ends, the book and the
// perft tool generate ply 0 through Move2Gen (moves/gen.h), which here runs
// MoveGen with the front ends' flag array.
// Editions: 3.0.
#pragma once
#include "bitboard/bitboard.h"

constexpr int TWO_PAWNS = 0x40;   // in a flag word: two pawns attack the square

// Per thread: each search thread has its own.
extern constinit thread_local int hash_ix;              // transposition slot of the position MoveGen saw; 0 after CapsGen
extern constinit thread_local int front_end_flags[64];  // the opponent's flags of the front ends' generation

BitBoard knight_attack_set(int side);   // the squares the side's knights attack
// Attack map of side s: flags[sq] gets 1 << piece code per kind of its men
// attacking sq (and TWO_PAWNS); kind_sets[k] the squares men of kind k
// attack; *all their union. Returns the side's men attacking the enemy king.
BitBoard scan_attack(int s, int flags[64], BitBoard* all, BitBoard kind_sets[6]);
void MoveGen(int* flags_x);               // every move of the side to move; flags_x: the opponent's map
void CapsGen();                           // captures only, for the quiescence search
