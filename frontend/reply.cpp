// frontend/reply.cpp: the console's words for moves that cannot be played.
#include "frontend/reply.h"
#include "board/position.h"
#include "moves/attack.h"
#include "search/state.h"
#include <cstdio>

void print_game_full() { std::printf("Game record full (%d moves): move refused \n", MAX_GAME); }

int announce_no_move() {
    if (move_value(var_princ.moves[0]) != 0) return 0;
    std::printf("No tengo movimientos...\n");
    if (in_check(computer_side)) std::printf("I'm checkmated ...\n");
    else std::printf("Good draw !!");
    computer_side = EMPTY;
    return 1;
}
