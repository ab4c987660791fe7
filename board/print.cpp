// board/print.cpp: printing moves, the board and the game record.
#include "board/print.h"
#include <cstdio>

void print_move(move_bytes m) {
    const int from = m.from, to = m.to;
    std::printf("%c%d%c%d", 'a' + (from & 7), 8 - (from >> 3), 'a' + (to & 7), 8 - (to >> 3));
    if (m.bits & MF_PROMOTE) {
        const char letter = m.promote == KNIGHT ? 'n' : m.promote == BISHOP ? 'b' : m.promote == ROOK ? 'r' : 'q';
        std::printf("%c", letter);
    }
}

void print_board() {
    std::printf("\n8 ");
    for (int s = 0; s < 64; s++) {
        if (color[s] == EMPTY) std::printf(" .");
        else if (color[s] == LIGHT) std::printf(" %c", piece_char[piece[s]]);
        else std::printf(" %c", piece_char[piece[s]] + 32);
        if ((s + 1) % 8 == 0 && s != 63) std::printf("\n%d ", 7 - (s >> 3));
    }
    std::printf("\n\n   a b c d e f g h\n\n");
}

void print_game() {
    std::printf("-Lista de jugadas---\n");
    // A long game's record keeps only its later moves (an even number were
    // dropped, so the pairs stay as they were); the numbers stay the game's.
    const int dropped = game_plies - undos;
    if (dropped > 0)
        std::printf("(the first %d half-moves are no longer kept: the list starts at move %d)\n", dropped,
                    dropped / 2 + 1);
    int number = dropped / 2 + 1, column = 0;
    for (int i = 0; i < undos; i++) {
        if (column == 0) std::printf("%d .", number);
        print_move(undo_dat[i].m);
        std::printf(" (%d,%d) ", undo_dat[i].m.from, undo_dat[i].m.to);
        if (++column == 2) {
            column = 0;
            std::printf("\n");
            number++;
        }
    }
    std::printf("\n--------------------\n");
}
