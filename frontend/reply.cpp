// frontend/reply.cpp: the front ends' words and steps around the moves.
#include "frontend/reply.h"
#include "board/position.h"
#include "moves/attack.h"
#include "moves/gen.h"
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

// An en passant square belongs to the side that was to move, so it goes when
// the side changes; a change that would let the new side take the enemy king
// is refused, as a FEN with the side not to move in check is.
void set_side_to_move(int s, const std::string& word) {
    if (s != side) {
        if (in_check(side)) {
            std::printf("Error (illegal position): %s\n", word.c_str());
            std::fflush(stdout);
            return;
        }
        ep = -1;
    }
    side = s;
    xside = s ^ 1;
    undos = 0;
    ply = 0;
    Move2Gen();
    computer_side = xside;
}
