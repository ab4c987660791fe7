// tools/perft_main.cpp: the zorvu35-perft program.
#include "tools/perft.h"

int main(int argc, char** argv) {
    return perft_main(argc, argv);
}
