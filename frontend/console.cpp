// frontend/console.cpp: start-up and the console command loop. The edition's
// own commands are tried first (frontend/edition_hooks.h); any word that is
// no command is a move.
#include "frontend/console.h"
#include "board/position.h"
#include "board/print.h"
#include "frontend/commands.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "frontend/uci.h"
#include "frontend/xboard.h"
#include "moves/gen.h"
#include "search/state.h"
#include <cstdio>

int book_mark;
char book_mark_key[BOOK_KEY_SIZE];

void print_identity() {
    std::printf("\n");
    std::printf("id author %s \n", AUTHOR);
    std::printf("%s\n", ENGINE_NAME_LINE);
    std::printf("\n");
    std::printf("\"help\" muestra la lista de comandos \n");
    std::printf("\n");
}

void print_help() {
    for (int i = 0; i < HELP_LINE_COUNT; i++) std::printf("%s\n", HELP_LINES[i]);
}

void start_up() {
    book_mark = 0;
    book_mark_key[0] = '\0';
    print_identity();
    init();
    Move2Gen();
    computer_side = EMPTY;
    max_time = NO_LIMIT;
    max_depth = START_DEPTH;
    start_time = get_ms();   // a book move before any search reports the time since start-up
    clear_tables();
    book_on = 1;
    reset_statistics();
}

int console_main() {
    start_up();
    std::string word;
    for (;;) {
        while (side == computer_side) engine_reply();
        std::printf("zorvu> ");
        std::fflush(stdout);
        if (!read_word(word)) return 0;   // end of input ends the program as "bye" does

        const command_result own = edition_command(word);
        if (own == INPUT_ENDED) return 0;
        if (own == COMMAND_DONE) continue;
        if (word == "on") {
            cmd_on();
        } else if (word == "off") {
            computer_side = EMPTY;
        } else if (word == "st") {
            cmd_st();
        } else if (word == "sd") {
            cmd_sd();
        } else if (word == "undo") {
            cmd_undo();
        } else if (word == "new") {
            cmd_new();
        } else if (word == "occ") {
            cmd_occ();
        } else if (word == "d") {
            print_board();
        } else if (word == "bye") {
            std::printf("Zorvu 2000 - Gracias\n");
            return 0;
        } else if (word == "xboard") {
            xboard();
            return 0;
        } else if (word == "uci") {
            uci();
            return 0;
        } else if (word == "mr") {
            print_game();
        } else if (word == "ab") {
            cmd_ab();
        } else if (word == "fn") {
            cmd_fn();
        } else if (word == "help") {
            print_help();
        } else {
            move_entry(word);
        }
    }
}
