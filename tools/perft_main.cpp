// tools/perft_main.cpp: the perft program of each edition (zorvu35-perft,
// zorvu30-perft, zorvu-perft), built from the same source.
#include "tools/perft.h"

int main(int argc, char** argv) {
    return perft_main(argc, argv);
}
