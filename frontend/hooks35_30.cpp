// frontend/hooks35_30.cpp: what editions 3.5 and 3.0 supply alike to the
// shared front end: set-up by FEN, their hash tables and statistics, and
// the commands only they have.
#include "frontend/hooks35_30.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "frontend/edition_hooks.h"
#include "frontend/input.h"
#include "hash/evalcache.h"
#include "hash/table.h"
#include "moves/gen.h"
#include "search/driver.h"
#include <algorithm>
#include <cctype>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

char fen_text[FEN_BUFFER_SIZE];

const promotion_letters CONSOLE_LETTERS{'n', 'b', 'r'};
const bool EXPLAINS_REFUSED_MOVE = true;
const char* const XBOARD_GREETING = "\nfeature setboard=1 \nfeature myname=Zorvu 3.0 \n";
const char* const XBOARD_UNKNOWN = "Error (unknown): ";
const bool XBOARD_WHOLE_LINES = false;

namespace {

constexpr int FEN_FIELDS = 6;
constexpr int FEN_FIELDS_WITHOUT_COUNTERS = 4;   // a FEN may end before the two counters
constexpr const char* NEW_GAME_COUNTERS = "0 1";  // half-move clock and move number of a new game
constexpr int LJ_MOVES_PER_LINE = 8;

// After a refused FEN the initial position is set up.
void refuse_fen() {
    std::printf("Error processing FEN chain - New command applied \n");
    init();
}

// XBoard "setboard" with four or six fields; fields and text that would not
// fit their buffers are refused like a bad FEN.
void xboard_setboard(const std::string& rest) {
    const std::vector<std::string> words = words_of(rest);
    const int fields = int(std::min<std::size_t>(words.size(), FEN_FIELDS));
    std::printf("%d parameters\n", fields);
    std::string text;
    bool fits = true;
    for (int i = 0; i < fields; i++) {
        if (words[i].size() >= XBOARD_FIELD_SIZE) fits = false;
        text += words[i] + " ";
    }
    if (fields == FEN_FIELDS_WITHOUT_COUNTERS) text += NEW_GAME_COUNTERS;
    if (text.size() >= FEN_BUFFER_SIZE) fits = false;
    computer_side = EMPTY;
    if (!fits) std::printf("FEN chain too long: fields of at most %d characters, %d in all\n",
                           XBOARD_FIELD_SIZE - 1, FEN_BUFFER_SIZE - 1);
    if (!fits || !process_fen(text.c_str())) {
        std::printf("tellusererror Illegal position\n");
        refuse_fen();
    }
    Move2Gen();
}

std::int64_t percent(std::int64_t hits, std::int64_t misses) { return hits ? hits * 100 / (misses + hits) : 0; }

}  // namespace

int cmd_setboard() {
    // Four words on the "setboard" line itself are a FEN without its
    // counters, given as a new game's; otherwise six words are read, on
    // as many lines as they come. The words are collected even when they
    // do not fit, so that none of them is later taken for a command.
    const bool without_counters = words_left_on_line() == FEN_FIELDS_WITHOUT_COUNTERS;
    const int words = without_counters ? FEN_FIELDS_WITHOUT_COUNTERS : FEN_FIELDS;
    fen_text[0] = '\0';
    bool fits = true;
    std::string word;
    for (int i = 0; i < words; i++) {
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
    if (fits && without_counters) {
        fits = std::strlen(fen_text) + std::strlen(NEW_GAME_COUNTERS) < FEN_BUFFER_SIZE;
        if (fits) std::strcat(fen_text, NEW_GAME_COUNTERS);
    }
    computer_side = EMPTY;
    if (!fits) std::printf("FEN chain too long: at most %d characters\n", FEN_BUFFER_SIZE - 1);
    if (fits && process_fen(fen_text)) std::printf("FEN notation accepted\n");
    else refuse_fen();
    Move2Gen();
    return 1;
}

void cmd_lj() {
    std::printf("Lista: \n");
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        print_move(gen_dat[i].m);
        std::printf(":%d ", gen_dat[i].score);
        if ((i + 1) % LJ_MOVES_PER_LINE == 0) std::printf("\n");
    }
    std::printf("\n----------------------------- \n");
    std::printf("reyes en: %d - %d\n", light_king_sq, dark_king_sq);
    std::printf(side == LIGHT ? "Mueven Blancas \n" : "Mueven Negras \n");
}

void print_evaluation_terms() {
    Move2Gen();
    std::printf("Evaluacion estatica: %d\n", eval(-MATE_SCORE, MATE_SCORE));
    std::printf("Evaluacion pawns: %d\n", eval_pawns());
    std::printf("Evaluacion pieces: %d\n", eval_pieces());
    std::printf("Evaluacion chain_space: %d\n", chain_space());
    std::printf("Evaluacion passed_pawns: %d\n", passed_pawns());
    std::printf("Evaluacion isolated_pawns: %d\n", isolated_pawns());
    std::printf("Evaluacion doubled_pawns: %d\n", doubled_pawns());
    std::printf("Evaluacion backward_pawns: %d\n", backward_pawns());
    std::printf("Evaluacion central_pawns: %d\n", central_pawns());
}

void clear_tables() {
    clear_hash();
    clear_p_hash();
    clear_m_hash();
}

void clear_hash_tables() { clear_tables(); }

const long DEFAULT_HASH_MB = EDITION_HASH_MB;

bool resize_hash_table(long mb) { return set_hash_size(mb); }

long hash_table_mb() { return hash_size_mb; }

int hash_fill_permille() { return hash_fill(); }

uint32_t table_move() {
    const hash_entry e = read_slot(hash_slot_pointer());
    return e.checksum == master_checksum ? move_value(e.move) : 0;
}

void forget_table() { clear_hash(); }

command_result edition_command(const std::string& word) {
    if (word == "setboard") return cmd_setboard() ? COMMAND_DONE : INPUT_ENDED;
    if (word == "ev") {
        cmd_ev();
    } else if (word == "lj") {
        cmd_lj();
    } else {
        return NOT_A_COMMAND;
    }
    return COMMAND_DONE;
}

bool xboard_edition_command(const std::string& word, const std::string& rest) {
    if (word != "setboard") return false;
    xboard_setboard(rest);
    return true;
}

void cmd_fn() {
    char text[FEN_TEXT_SIZE];
    fen_display(text);
    std::printf("%s \n", text);
}

void print_statistics() {
    std::printf("\nHash collitions: %" PRId64, colisiones_hash);
    std::printf(" Hash results: %" PRId64 " %" PRId64 " %" PRId64 "%%", impactos_hash, pifias_hash,
                percent(impactos_hash, pifias_hash));
    std::printf("\nHash pawn results: %" PRId64 " %" PRId64 " %" PRId64 "%%", hp_impacts, hp_nofound,
                percent(hp_impacts, hp_nofound));
    std::printf("%s%" PRId64 " %" PRId64 " %" PRId64 "%%", MATERIAL_RESULTS_LABEL, hm_impacts, hm_nofound,
                percent(hm_impacts, hm_nofound));
    print_search_counters();
}

void reset_statistics() {
    clear_search_counters();
    clear_table_counts();
}
