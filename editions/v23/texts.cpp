// editions/v23/texts.cpp: what edition 2.3 supplies to the shared front end:
// its name and help, upper-case promotion letters at the console, a bare
// "Illegal move.", no FEN (no "setboard", "ev" or "lj": those words are
// moves; "fn" prints the book key), "occ" as the rook sets, one
// transposition table that "on" and "undo" keep, its statistics block, and
// an XBoard mode without features that reads lines of any length.
#include "frontend/edition_hooks.h"
#include "bitboard/bitboard.h"
#include "board/fen.h"
#include "board/position.h"
#include "editions/v23/table.h"
#include "frontend/commands.h"
#include "search/state.h"
#include <cinttypes>
#include <cstdio>

const char* const ENGINE_NAME_LINE = "id name ZORVU 2.3 ";
const char* const EDITION_NUMBER = "2.3";

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
const int HELP_LINE_COUNT = sizeof HELP_LINES / sizeof HELP_LINES[0];

const promotion_letters CONSOLE_LETTERS{'N', 'B', 'R'};
const bool EXPLAINS_REFUSED_MOVE = false;
const char* const XBOARD_GREETING = "\n";
const char* const XBOARD_UNKNOWN = "Not yet supported: ";
const bool XBOARD_WHOLE_LINES = true;

namespace {

// Rooks of one colour, collected from the board arrays.
BitBoard rook_set(int c) {
    BitBoard set = 0;
    for (int sq = 0; sq < 64; sq++)
        if (piece[sq] == ROOK && color[sq] == c) set |= BitBoard(1) << sq;
    return set;
}

}  // namespace

void clear_tables() {}

void clear_hash_tables() { clear_table(); }

const long DEFAULT_HASH_MB = EDITION_HASH_MB;

bool resize_hash_table(long mb) { return set_table_size(mb); }

long hash_table_mb() { return tt_size_mb; }

int hash_fill_permille() { return table_fill(); }

uint32_t table_move() {
    int gain;
    return move_value(tt_best_move(&gain));
}

void forget_table() {}

command_result edition_command(const std::string&) { return NOT_A_COMMAND; }

bool xboard_edition_command(const std::string&, const std::string&) { return false; }

void cmd_occ() {
    print_square_set("Torres Blancas: \n", rook_set(LIGHT));
    print_square_set("Torres Negras: \n", rook_set(DARK));
}

// The position as the book's key: this edition writes no FEN.
void cmd_fn() {
    char key[BOOK_KEY_SIZE];
    forsyth(key);
    std::printf("%s \n", key);
}

// No speed line: only the statistics block follows the search.
void print_search_speed(long) {}

void print_statistics() {
    std::printf("\nHash results: %" PRId64 " %" PRId64, tt_hits, tt_misses);
    if (tt_hits != 0) std::printf("\nHash percent: %" PRId64 "%%", tt_hits * 100 / (tt_hits + tt_misses));
    print_search_counters();
}

void reset_statistics() {
    tt_hits = tt_misses = 0;
    clear_search_counters();
}
