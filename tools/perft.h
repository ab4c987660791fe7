// tools/perft.h: counting the leaf nodes of the legal move tree, with the
// engine's own generator and make/take-back.
// Editions: 3.5, 3.0, 2.3.
#pragma once
#include <cstdint>

uint64_t perft(int depth);   // leaves of the tree below the current position
int perft_main(int argc, char** argv);   // the perft program: "<FEN>" <depth>
