// frontend/commands.cpp: game commands and move entry.
#include "frontend/commands.h"
#include "board/fen.h"
#include "board/position.h"
#include "frontend/console.h"
#include <cstdio>
#include <cstring>

int cmd_setboard() {
    // The six words are collected even when they do not fit, so that none
    // of them is later taken for a command.
    fen_text[0] = '\0';
    bool fits = true;
    std::string word;
    for (int i = 0; i < 6; i++) {
        if (!read_word(word)) return 0;
        const size_t used = std::strlen(fen_text);
        if (!fits || used + word.size() + 1 >= FEN_BUFFER_SIZE) {
            fits = false;
            continue;
        }
        std::memcpy(fen_text + used, word.data(), word.size());
        fen_text[used + word.size()] = ' ';
        fen_text[used + word.size() + 1] = '\0';
    }
    computer_side = EMPTY;
    if (!fits) std::printf("FEN chain too long: at most %d characters\n", FEN_BUFFER_SIZE - 1);
    if (fits && process_fen(fen_text)) {
        std::printf("FEN notation accepted\n");
    } else {
        std::printf("Error processing FEN chain - New command applied \n");
        init();
    }
    return 1;
}

void cmd_fn() {
    char text[FEN_TEXT_SIZE];
    fen_display(text);
    std::printf("%s \n", text);
}

void cmd_new() {
    computer_side = EMPTY;
    init();
}

// The list entry of ply 0 whose squares the word names, or -1.
static int find_typed_move(const std::string& word) {
    if (word.size() < 4) return -1;
    const int from = (word[0] - 'a') + ('8' - word[1]) * 8;
    const int to = (word[2] - 'a') + ('8' - word[3]) * 8;
    for (int i = 0; i < gen_end[ply]; i++)
        if (gen_dat[i].m.from == from && gen_dat[i].m.to == to) return i;
    return -1;
}

void move_entry(const std::string& word) {
    std::printf("Illegal move.\n");
    if (find_typed_move(word) < 0) std::printf("Not found in list \n");
}
