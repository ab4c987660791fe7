// frontend/edition_hooks.h: what each edition supplies to the shared console
// and XBoard loops: its texts, a few flags and letters, and the small steps
// that differ (a new game, the tables, its own commands, its statistics).
// Editions: 3.5, 3.0, 2.3; implemented by frontend/texts.cpp (3.5),
// editions/v30/texts.cpp (3.0) and editions/v23/texts.cpp (2.3), with what
// 3.5 and 3.0 do alike in frontend/hooks35_30.cpp.
#pragma once
#include <cstdint>
#include <string>

// The letters that pick an under-promotion; any other fifth character of a
// move, or none, keeps the queen.
struct promotion_letters {
    char knight, bishop, rook;
};
constexpr promotion_letters XBOARD_LETTERS{'n', 'b', 'r'};   // the same in every edition

// What an edition's own console command did with a word.
enum command_result { NOT_A_COMMAND, COMMAND_DONE, INPUT_ENDED };

// Texts, letters and flags.
extern const char* const ENGINE_NAME_LINE;   // the "id name" line
extern const char* const EDITION_NUMBER;     // "3.5": the name UCI gives is "Zorvu" and this
extern const char* const HELP_LINES[];       // the help, one line each
extern const int HELP_LINE_COUNT;
extern const promotion_letters CONSOLE_LETTERS;
extern const bool EXPLAINS_REFUSED_MOVE;     // "Illegal move." gets a second line saying why
extern const char* const XBOARD_GREETING;    // printed on entering XBoard mode
extern const char* const XBOARD_UNKNOWN;     // opens the answer to an unknown command or a refused move
// XBoard lines are read whole, of any length and with their NUL bytes;
// otherwise as C strings: in pieces of XBOARD_LINE_SIZE - 1 characters, each
// ending at its first NUL byte.
extern const bool XBOARD_WHOLE_LINES;

// Steps.
void clear_tables();       // start-up: empties the search tables (2.3's start empty)
// "Clear Hash": empties the transposition table (3.5 and 3.0 also their pawn
// and material tables), which keep their sizes.
void clear_hash_tables();
// The transposition table's size in megabytes (UCI's Hash option): the
// default is DEFAULT_HASH_MB; resize_hash_table reallocates once, and when
// the memory cannot be had keeps the table it has and returns false.
extern const long DEFAULT_HASH_MB;
bool resize_hash_table(long mb);
long hash_table_mb();
// Per mille of a fixed sample of table slots written by the current search
// (UCI's hashfull).
int hash_fill_permille();
// The best move the transposition table holds for the current position (0
// when none): UCI's ponder move when the line ends at the engine's move.
uint32_t table_move();
void forget_table();       // "on" and "undo": 3.5 and 3.0 empty the transposition table, 2.3 keeps it
// A console word that only this edition knows (it is tested before the shared ones).
command_result edition_command(const std::string& word);
// An XBoard command word that only this edition knows, with the rest of its
// line; false when the word is none of them.
bool xboard_edition_command(const std::string& word, const std::string& rest);
void cmd_occ();            // square sets of the edition's choosing
void cmd_fn();             // the position as FEN (2.3: as the book key)
void print_search_speed(long seconds);   // after the engine's search of `seconds` whole seconds
void print_statistics();   // the block after "Computer's move: " and the move
void reset_statistics();   // the counters that block shows
