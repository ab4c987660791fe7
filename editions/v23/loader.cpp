// editions/v23/loader.cpp: setting up a position from a FEN, for the perft
// tool and the tests; the console of this edition has no FEN input.
#include "board/fen.h"
#include "board/position.h"
#include "editions/v23/game.h"
#include "moves/attack.h"
#include <cstdio>

int process_fen(const char* fen) {
    new_game();
    computer_side = EMPTY;
    if (!read_fen_fields(fen)) return 0;
    // The side that has just moved cannot have left its king en prise.
    if (in_check(xside)) {
        fen_complain("invalid FEN position: the side not to move is in check\n");
        return 0;
    }
    return 1;
}
