// board/setup.cpp: setting up a position of the current editions from a
// FEN: a fresh game record, keys and tables, the board read from the text,
// then every derived set and table rebuilt from the arrays.
#include "board/fen.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "hash/table.h"
#include "moves/attack.h"
#include <cstdio>

namespace {
bool distances_filled = false;   // the distance table never changes: filled once
}

int process_fen(const char* fen) {
    gen_begin[0] = 0;
    clear_game_record();
    material_balance = 0;
    hash_seq = 0;
    master_checksum = 0;
    ply = 0;
    hash_init();
    computer_side = EMPTY;
    if (!read_fen_fields(fen)) return 0;

    for (int s = 0; s < 64; s++)
        if (color[s] != EMPTY) material_balance += color[s] == LIGHT ? piece_value[piece[s]] : -piece_value[piece[s]];
    init_mask();
    if (!distances_filled) {
        for (int a = 0; a < 64; a++)
            for (int b = 0; b < 64; b++) dt[a][b] = static_cast<signed char>(distancia(a, b));
        distances_filled = true;
    }

    // The side that has just moved cannot have left its king en prise.
    if (in_check(xside)) {
        fen_complain("invalid FEN position: the side not to move is in check\n");
        return 0;
    }
    return 1;
}

void init() {
    process_fen(START_FEN);
}
