// frontend/commands.cpp: game commands and move entry.
#include "frontend/commands.h"
#include "eval/pieces.h"
#include "eval/pawns.h"
#include "eval/eval.h"
#include "board/fen.h"
#include "board/position.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/console.h"
#include "frontend/reply.h"
#include "frontend/texts.h"
#include "hash/evalcache.h"
#include "hash/table.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/alphabeta.h"
#include "search/driver.h"
#include "search/quiesce.h"
#include <cctype>
#include <climits>
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
    Move2Gen();
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
    Move2Gen();
}

void cmd_undo() {
    if (undos == 0) return;
    undos--;
    computer_side = EMPTY;
    hist_dat[0] = undo_dat[undos];
    ply = 1;
    clear_hash();
    takeback();
    Move2Gen();
}

void cmd_lj() {
    std::printf("Lista: \n");
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        print_move(gen_dat[i].m);
        std::printf(":%d ", gen_dat[i].score);
        if ((i + 1) % 8 == 0) std::printf("\n");
    }
    std::printf("\n----------------------------- \n");
    std::printf("reyes en: %d - %d\n", light_king_sq, dark_king_sq);
    std::printf(side == LIGHT ? "Mueven Blancas \n" : "Mueven Negras \n");
}

void print_evaluation_terms() {
    Move2Gen();
    std::printf("Evaluacion estatica: %d\n", eval(-10000, 10000));
    std::printf("Evaluacion pawns: %d\n", eval_pawns());
    std::printf("Evaluacion pieces: %d\n", eval_pieces());
    std::printf("Evaluacion chain_space: %d\n", chain_space());
    std::printf("Evaluacion passed_pawns: %d\n", passed_pawns());
    std::printf("Evaluacion isolated_pawns: %d\n", isolated_pawns());
    std::printf("Evaluacion doubled_pawns: %d\n", doubled_pawns());
    std::printf("Evaluacion backward_pawns: %d\n", backward_pawns());
    std::printf("Evaluacion central_pawns: %d\n", central_pawns());
}

int find_typed_move(const std::string& word) {
    if (word.size() < 4) return -1;
    const int from = (word[0] - 'a') + ('8' - word[1]) * 8;
    const int to = (word[2] - 'a') + ('8' - word[3]) * 8;
    for (int i = 0; i < gen_end[0]; i++) {
        if (gen_dat[i].m.from != from || gen_dat[i].m.to != to) continue;
        // The four promotions follow each other: queen, rook, bishop, knight.
        if ((gen_dat[i].m.bits & MF_PROMOTE) && word.size() > 4) {
            if (word[4] == 'r') i += 1;
            else if (word[4] == 'b') i += 2;
            else if (word[4] == 'n') i += 3;
        }
        return i;
    }
    return -1;
}

namespace {

// The move just made at ply 0 joins the game record (and the book, when
// "ab" marked the position), and the next position's moves are generated.
void record_move() {
    undo_dat[undos] = hist_dat[0];
    if (book_mark) {
        addbook(book_mark_key, undo_dat[undos].m.from, undo_dat[undos].m.to, xside);
        book_mark = 0;
    }
    undos++;
    ply = 0;
    Move2Gen();
}

long percent(long hits, long misses) { return hits ? hits * 100 / (misses + hits) : 0; }

void print_statistics() {
    std::printf("\nHash collitions: %ld", colisiones_hash);
    std::printf(" Hash results: %ld %ld %ld%%", impactos_hash, pifias_hash, percent(impactos_hash, pifias_hash));
    std::printf("\nHash pawn results: %ld %ld %ld%%", hp_impacts, hp_nofound, percent(hp_impacts, hp_nofound));
    std::printf("%s%ld %ld %ld%%", MATERIAL_RESULTS_LABEL, hm_impacts, hm_nofound, percent(hm_impacts, hm_nofound));
    print_search_counters();
}

void reset_statistics() {
    clear_search_counters();
    hash_impacts = hash_nofound = 0;
    hp_impacts = hp_nofound = hm_impacts = hm_nofound = 0;
    colisiones_hash = pifias_hash = impactos_hash = 0;
}

}  // namespace

void move_entry(const std::string& word) {
    const int i = find_typed_move(word);
    if (i >= 0 && undos >= MAX_GAME) {
        print_game_full();
        return;
    }
    if (i >= 0 && makemove(gen_dat[i].m)) {
        record_move();
        return;
    }
    std::printf("Illegal move.\n");
    std::printf(i >= 0 ? "In list, but not allowed \n" : "Not found in list \n");
}

void cmd_on() {
    computer_side = side;
    clear_hash();
    Move2Gen();
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

void cmd_ab() {
    forsyth(book_mark_key);
    book_mark = 1;
    std::printf("Next to book \n %s \n", book_mark_key);
}

void engine_reply() {
    // The game record has room for the engine's move, or the engine stops.
    if (undos >= MAX_GAME) {
        print_game_full();
        computer_side = EMPTY;
        return;
    }
    book_on = undos < 24;
    const int started = get_ms();
    tree_surf(0);
    const long seconds = long(uint32_t(get_ms()) - uint32_t(started)) / 1000;
    print_search_speed(seconds);
    const move_bytes m = var_princ.moves[0];
    if (announce_no_move()) return;
    std::printf("Computer's move: ");
    print_move(m);
    print_statistics();
    reset_statistics();
    std::printf("\n");
    if (!makemove(m)) {   // cannot happen: the search and the book give legal moves
        computer_side = EMPTY;
        return;
    }
    var_princ.count = 0;
    record_move();
    print_board();
}
