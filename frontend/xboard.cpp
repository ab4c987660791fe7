// frontend/xboard.cpp: the XBoard loop.
#include "frontend/xboard.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "frontend/commands.h"
#include "frontend/console.h"
#include "frontend/reply.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include <cctype>
#include <csignal>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The words of a line, split at white space.
std::vector<std::string> words_of(const char* line) {
    std::vector<std::string> words;
    const char* p = line;
    while (*p) {
        while (*p && std::isspace(static_cast<unsigned char>(*p))) p++;
        const char* start = p;
        while (*p && !std::isspace(static_cast<unsigned char>(*p))) p++;
        if (p > start) words.emplace_back(start, p);
    }
    return words;
}

// The number after the command word, as a formatted read takes it: 0 when
// there is none; values beyond the range of long saturate.
long number_after(const std::vector<std::string>& words) {
    if (words.size() < 2) return 0;
    return std::strtol(words[1].c_str(), nullptr, 10);
}

void engine_moves() {
    while (side == computer_side) {
        tree_surf(1);
        const move_bytes m = var_princ.moves[0];
        if (move_value(m) == 0 || undos >= MAX_GAME) {
            computer_side = EMPTY;
            return;
        }
        std::printf("move ");
        print_move(m);
        std::printf("\n");
        std::fflush(stdout);
        makemove(m);
        var_princ.count = 0;
        undo_dat[undos++] = hist_dat[0];
        ply = 0;
        Move2Gen();
    }
}

void take_back_one() {
    undos--;
    hist_dat[0] = undo_dat[undos];
    ply = 1;
    takeback();
}

// "setboard" with four or six fields; fields and text that would not fit
// their buffers are refused like a bad FEN.
void setboard(const std::vector<std::string>& words) {
    const int fields = int(std::min<std::size_t>(words.size() - 1, 6));
    std::printf("%d parameters\n", fields);
    std::string text;
    bool fits = true;
    for (int i = 1; i <= fields; i++) {
        if (words[i].size() >= XBOARD_FIELD_SIZE) fits = false;
        text += words[i] + " ";
    }
    if (fields == 4) text += "0 1";
    if (text.size() >= FEN_BUFFER_SIZE) fits = false;
    computer_side = EMPTY;
    if (!fits) std::printf("FEN chain too long: fields of at most %d characters, %d in all\n",
                           XBOARD_FIELD_SIZE - 1, FEN_BUFFER_SIZE - 1);
    if (!fits || !process_fen(text.c_str())) {
        std::printf("tellusererror Illegal position\n");
        std::printf("Error processing FEN chain - New command applied \n");
        init();
    }
    Move2Gen();
}

void interface_move(const std::string& word) {
    const int i = find_typed_move(word);
    if (i >= 0 && undos < MAX_GAME && makemove(gen_dat[i].m)) {
        undo_dat[undos++] = hist_dat[0];
        ply = 0;
        Move2Gen();
        book_on = undos < 24;
        return;
    }
    std::printf("Error (unknown): %s\n", word.c_str());
    std::fflush(stdout);
}

}  // namespace

void xboard() {
    // Interfaces send SIGINT to interrupt a thinking engine; this engine
    // answers on its own clock, and must not die of it.
    std::signal(SIGINT, SIG_IGN);
    fen_text[0] = '\0';
    std::printf("\nfeature setboard=1 \n");
    std::printf("feature myname=Zorvu 3.0 \n");
    std::fflush(stdout);   // the interface waits for the features
    init();
    Move2Gen();
    computer_side = EMPTY;
    eval_global = 0;

    char line[XBOARD_LINE_SIZE];
    for (;;) {
        engine_moves();
        if (!std::fgets(line, sizeof line, stdin)) return;   // end of input: as "quit"
        const std::vector<std::string> words = words_of(line);
        if (words.empty()) continue;   // an empty line, or blanks only
        const std::string& w = words[0];
        if (w == "setboard") {
            setboard(words);
        } else if (w == "xboard") {
        } else if (w == "new") {
            init();
            Move2Gen();
            computer_side = DARK;
        } else if (w == "quit") {
            return;
        } else if (w == "force") {
            computer_side = EMPTY;
        } else if (w == "white" || w == "black") {
            set_side_to_move(w == "white" ? LIGHT : DARK, w);
        } else if (w == "otim") {
            op_time = number_after(words);
            std::printf("opponent time = %ld ", op_time);
            tree_surf_time(op_time, total_time);
            max_depth = 10000;
            std::printf("\n");
        } else if (w == "time") {
            total_time = number_after(words);
            std::printf("total time = %ld ", total_time);
            tree_surf_time(op_time, total_time);
            std::printf("%d per move \n", max_time);
            max_depth = 10000;
        } else if (w == "st") {
            max_time = int(std::max(1L, std::min<long>(number_after(words), MAX_TIME_SECONDS)));
            max_depth = 10000;
        } else if (w == "sd") {
            max_depth = int(std::max(1L, std::min<long>(number_after(words), INT_MAX)));
            max_time = 10000;
        } else if (w == "go") {
            book_on = undos < 24;
            computer_side = side;
        } else if (w == "hint") {
            tree_surf(1);
            if (move_value(var_princ.moves[0]) != 0) {
                std::printf("Hint: ");
                print_move(var_princ.moves[0]);
                std::printf("\n");
                std::fflush(stdout);
            }
        } else if (w == "undo") {
            if (undos > 0) {
                take_back_one();
                Move2Gen();
            }
        } else if (w == "remove") {
            if (undos >= 2) {
                take_back_one();
                take_back_one();
                Move2Gen();
            }
        } else {
            interface_move(w);
        }
    }
}
