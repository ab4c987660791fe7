// editions/v23/console.cpp: start-up, the console command loop, move entry,
// the game record and the engine's reply with its statistics block.
#include "editions/v23/frontends23.h"
#include "bitboard/bitboard.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "editions/v23/game.h"
#include "editions/v23/table.h"
#include "frontend/console.h"
#include "frontend/reply.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include <cctype>
#include <climits>
#include <cstdio>

int book_mark;
char book_mark_key[BOOK_KEY_SIZE];

namespace {

const char* const HELP_LINES[] = {
    "on -----> Zorvu juega para el lado que mueve",
    "off ----> Zorvu se detiene",
    "st n ---> busqueda para n segundos por jugada",
    "sd n ---> busca n ply's por jugada",
    "undo ---> retrocede una jugada",
    "new ----> nueva partida",
    "d ------> muestra estado del tablero",
    "occ ----> matrices de ocupacion",
    "mr -----> Lista de jugadas hasta el momento",
    "ab -----> La siguiente jugada se agregara al book ",
    "fn -----> Tablero en notacion forsyth",
    "xboard -> pasa a modo XBoard ",
    "help ---> muestra lo que estas viendo ",
    "bye ----> sale del programa ",
    "Ingrese las jugadas en coordenandas, e.g., e2e4, e7e8Q",
};

// Rooks of one colour, collected from the board arrays.
BitBoard rook_set(int c) {
    BitBoard set = 0;
    for (int sq = 0; sq < 64; sq++)
        if (piece[sq] == ROOK && color[sq] == c) set |= BitBoard(1) << sq;
    return set;
}

void cmd_occ() {
    std::printf("Torres Blancas: \n");
    muestra_BitBoard(rook_set(LIGHT));
    std::printf("Torres Negras: \n");
    muestra_BitBoard(rook_set(DARK));
}

void cmd_st() {
    long seconds;
    if (read_number(&seconds)) max_time = clamp_to(seconds, 1, MAX_TIME_SECONDS);
    max_depth = 10000;
}

void cmd_sd() {
    long depth;
    if (read_number(&depth)) max_depth = clamp_to(depth, 1, INT_MAX);
    max_time = 10000;
}

void cmd_undo() {
    if (undos == 0) return;
    computer_side = EMPTY;
    take_back23();
    Move2Gen();
}

void cmd_ab() {
    forsyth(book_mark_key);
    book_mark = 1;
    std::printf("Next to book \n %s \n", book_mark_key);
}

void cmd_fn() {
    char key[BOOK_KEY_SIZE];
    forsyth(key);
    std::printf("%s \n", key);
}

}  // namespace

void print_identity() {
    std::printf("\n");
    std::printf("id author Varnelo - Tarvenia \n");
    std::printf("id name ZORVU 2.3 \n");
    std::printf("\n");
    std::printf("\"help\" muestra la lista de comandos \n");
    std::printf("\n");
}

void print_help() {
    for (const char* line : HELP_LINES) std::printf("%s\n", line);
}

void start_up() {
    book_mark = 0;
    book_mark_key[0] = '\0';
    print_identity();
    new_game();
    Move2Gen();
    computer_side = EMPTY;
    max_time = 10000;
    max_depth = 4;
    book_on = 1;
    clear_statistics23();
}

int find_move23(const std::string& word, promotion_letters letters) {
    if (word.size() < 4) return -1;
    const int from = (word[0] - 'a') + ('8' - word[1]) * 8;
    const int to = (word[2] - 'a') + ('8' - word[3]) * 8;
    for (int i = 0; i < gen_end[0]; i++) {
        if (gen_dat[i].m.from != from || gen_dat[i].m.to != to) continue;
        if (!(gen_dat[i].m.bits & MF_PROMOTE)) return i;
        // The four promotions follow each other: knight, bishop, rook, queen.
        const char letter = word.size() > 4 ? word[4] : '\0';
        if (letter == letters.knight) return i;
        if (letter == letters.bishop) return i + 1;
        if (letter == letters.rook) return i + 2;
        return i + 3;
    }
    return -1;
}

void record_move23() {
    undo_dat[undos] = hist_dat[0];
    if (book_mark) {
        addbook(book_mark_key, undo_dat[undos].m.from, undo_dat[undos].m.to, xside);
        book_mark = 0;
    }
    undos++;
    ply = 0;
    Move2Gen();
}

void take_back23() {
    undos--;
    hist_dat[0] = undo_dat[undos];
    ply = 1;
    takeback();
}

void print_statistics23() {
    std::printf("\nHash results: %ld %ld", tt_hits, tt_misses);
    if (tt_hits != 0) std::printf("\nHash percent: %ld%%", tt_hits * 100 / (tt_hits + tt_misses));
    print_search_counters();
}

void clear_statistics23() {
    tt_hits = tt_misses = 0;
    clear_search_counters();
}

void move_entry23(const std::string& word) {
    const int i = find_move23(word, CONSOLE_LETTERS);
    if (i >= 0 && undos >= MAX_GAME) {
        print_game_full();
        return;
    }
    if (i >= 0 && makemove(gen_dat[i].m)) {
        record_move23();
        return;
    }
    std::printf("Illegal move.\n");
}

void engine_reply23() {
    // The game record has room for the engine's move, or the engine stops.
    if (undos >= MAX_GAME) {
        print_game_full();
        computer_side = EMPTY;
        return;
    }
    book_on = undos < 24;
    tree_surf(0);
    const move_bytes m = var_princ.moves[0];
    if (announce_no_move()) return;
    std::printf("Computer's move: ");
    print_move(m);
    print_statistics23();
    clear_statistics23();
    std::printf("\n");
    if (!makemove(m)) {   // cannot happen: the search and the book give legal moves
        computer_side = EMPTY;
        return;
    }
    record_move23();
    print_board();
}

void console_command23(const std::string& word) {
    if (word == "on") {
        computer_side = side;
    } else if (word == "off") {
        computer_side = EMPTY;
    } else if (word == "st") {
        cmd_st();
    } else if (word == "sd") {
        cmd_sd();
    } else if (word == "undo") {
        cmd_undo();
    } else if (word == "new") {
        computer_side = EMPTY;
        new_game();
        Move2Gen();
    } else if (word == "occ") {
        cmd_occ();
    } else if (word == "d") {
        print_board();
    } else if (word == "mr") {
        print_game();
    } else if (word == "ab") {
        cmd_ab();
    } else if (word == "fn") {
        cmd_fn();
    } else if (word == "help") {
        print_help();
    } else {
        move_entry23(word);
    }
}

int console_main() {
    start_up();
    std::string word;
    for (;;) {
        while (side == computer_side) engine_reply23();
        std::printf("zorvu> ");
        std::fflush(stdout);
        if (!read_word(word)) return 0;   // end of input ends the program as "bye" does
        if (word == "bye") {
            std::printf("Zorvu 2000 - Gracias\n");
            return 0;
        }
        if (word == "xboard") {
            xboard23();
            return 0;
        }
        console_command23(word);
    }
}
