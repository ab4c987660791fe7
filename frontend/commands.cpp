// frontend/commands.cpp: game commands, move entry, the game record and the
// engine's reply, the same in every edition; what differs comes from
// frontend/edition_hooks.h.
#include "frontend/commands.h"
#include "board/fen.h"
#include "board/print.h"
#include "book/book.h"
#include "frontend/console.h"
#include "frontend/input.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"
#include "search/state.h"
#include <climits>
#include <csignal>
#include <cstdint>
#include <cstdio>

namespace {

constexpr int MS_PER_SECOND = 1000;

// When the search left no move in var_princ: says whether the engine is
// mated or stalemated, stops it playing, and returns true.
bool announce_no_move() {
    if (move_value(var_princ.moves[0]) != 0) return false;
    std::printf("No tengo movimientos...\n");
    if (in_check(computer_side)) std::printf("I'm checkmated ...\n");
    else std::printf("Good draw !!");
    computer_side = EMPTY;
    return true;
}

// The piece a promotion letter names; the queen for any other character.
int promotion_piece(char letter, promotion_letters letters) {
    if (letter == letters.knight) return KNIGHT;
    if (letter == letters.bishop) return BISHOP;
    if (letter == letters.rook) return ROOK;
    return QUEEN;
}

// The number after "st" or "sd"; without one it says so and returns false:
// both limits stay as they were, since lifting the other one alone would
// leave a search without any end.
bool read_limit(const char* command, const char* unit, std::int64_t* value) {
    if (read_number(value)) return true;
    std::printf("%s needs a number of %s: the limits stay as they were\n", command, unit);
    return false;
}

}  // namespace

void cmd_new() {
    computer_side = EMPTY;
    init();
    Move2Gen();
}

void cmd_undo() {
    if (undos == 0) return;
    computer_side = EMPTY;
    forget_table();
    take_back_one();
    Move2Gen();
}

void cmd_on() {
    computer_side = side;
    forget_table();
    Move2Gen();
}

void cmd_st() {
    std::int64_t seconds;
    if (!read_limit("st", "seconds", &seconds)) return;
    max_time = clamp_to(seconds, 1, MAX_TIME_SECONDS);
    max_depth = NO_LIMIT;
}

void cmd_sd() {
    std::int64_t depth;
    if (!read_limit("sd", "plies", &depth)) return;
    max_depth = clamp_to(depth, 1, INT_MAX);
    max_time = NO_LIMIT;
}

void cmd_ab() {
    forsyth(book_mark_key);
    book_mark = 1;
    std::printf("Next to book \n %s \n", book_mark_key);
}

void print_square_set(const char* label, BitBoard set) {
    std::printf("%s", label);
    muestra_BitBoard(set);
}

int find_typed_move(const std::string& word, promotion_letters letters) {
    if (word.size() < 4) return -1;
    const int from = (word[0] - 'a') + ('8' - word[1]) * 8;
    const int to = (word[2] - 'a') + ('8' - word[3]) * 8;
    const int promote = promotion_piece(word.size() > 4 ? word[4] : '\0', letters);
    return find_listed_move(from, to, promote);
}

int find_listed_move(int from, int to, int promote) {
    // The four promotions of a pawn move follow each other, in the order the
    // edition generates them; the piece picks one.
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (m.from == from && m.to == to && (!(m.bits & MF_PROMOTE) || m.promote == promote)) return i;
    }
    return -1;
}

entry_result enter_move(const std::string& word, promotion_letters letters) {
    const int i = find_typed_move(word, letters);
    if (i < 0) return NO_SUCH_MOVE;
    if (!makemove(gen_dat[i].m)) return KING_LEFT_ATTACKED;
    record_move();
    return MOVE_MADE;
}

void move_entry(const std::string& word) {
    const entry_result result = enter_move(word, CONSOLE_LETTERS);
    if (result == MOVE_MADE) return;
    std::printf("Illegal move.\n");
    if (EXPLAINS_REFUSED_MOVE)
        std::printf(result == KING_LEFT_ATTACKED ? "In list, but not allowed \n" : "Not found in list \n");
}

void record_move() {
    keep_room_in_record();
    undo_dat[undos] = hist_dat[0];
    if (book_mark) {
        addbook(book_mark_key, undo_dat[undos].m.from, undo_dat[undos].m.to, xside);
        book_mark = 0;
    }
    undos++;
    game_plies++;
    ply = 0;
    Move2Gen();
}

void take_back_one() {
    undos--;
    game_plies--;
    hist_dat[0] = undo_dat[undos];
    ply = 1;
    takeback();
}

bool play_engine_move(move_bytes m) {
    if (!makemove(m)) {
        computer_side = EMPTY;
        return false;
    }
    var_princ.count = 0;
    record_move();
    return true;
}

volatile std::sig_atomic_t search_interrupted;

namespace {

void on_interrupt(int) { search_interrupted = 1; }
int interrupt_poll() { return search_interrupted; }

// The engine's search, during which Ctrl-C stops the search instead of the
// program; the best move so far is played.
void interruptible_search() {
    search_interrupted = 0;
    poll_hook = interrupt_poll;
    std::signal(SIGINT, on_interrupt);
    tree_surf(0);
    std::signal(SIGINT, SIG_DFL);
    poll_hook = nullptr;
    if (search_interrupted && move_value(var_princ.moves[0]) == 0) {
        ply = 0;
        Move2Gen();
        var_princ.moves[0] = first_legal_move();
    }
}

}  // namespace

move_bytes first_legal_move() {
    for (int i = 0; i < gen_end[0]; i++)
        if (makemove(gen_dat[i].m)) {
            takeback();
            return gen_dat[i].m;
        }
    return move_bytes{};
}

void engine_reply() {
    book_on = game_plies < BOOK_PLY_LIMIT;
    const int started = get_ms();
    interruptible_search();
    const long seconds = long(uint32_t(get_ms()) - uint32_t(started)) / MS_PER_SECOND;
    print_search_speed(seconds);
    const move_bytes m = var_princ.moves[0];
    if (announce_no_move()) return;
    std::printf("Computer's move: ");
    print_move(m);
    print_statistics();
    reset_statistics();
    std::printf("\n");
    if (play_engine_move(m)) print_board();
}
