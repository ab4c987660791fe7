// frontend/commands.h: the console commands that play the game, move entry
// (a word that is no command, at the console or from XBoard), the game
// record, and the engine's reply at the console.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include <csignal>
#include <string>
#include "bitboard/bitboard.h"
#include "board/position.h"
#include "frontend/edition_hooks.h"

// What became of a move typed or sent by the interface.
enum entry_result { MOVE_MADE, NO_SUCH_MOVE, KING_LEFT_ATTACKED };

void cmd_new();        // new game from the initial position; the engine plays neither side
void cmd_undo();       // takes back one half-move; the engine stops playing
void cmd_on();         // the engine takes the side to move
void cmd_st();         // seconds per move, from the next word
void cmd_sd();         // plies per move, from the next word
void cmd_ab();         // the next move played goes into the book
void print_square_set(const char* label, BitBoard set);   // "occ": the label (may be empty), then the grid

// Index in ply 0's list of the move a coordinate word names, or -1; the
// fifth character picks a promotion by `letters`.
int  find_typed_move(const std::string& word, promotion_letters letters);
// Index in the current ply's list of the move from-to (with that promotion
// piece, when it promotes), or -1.
int  find_listed_move(int from, int to, int promote);
entry_result enter_move(const std::string& word, promotion_letters letters);   // made and recorded when MOVE_MADE
void move_entry(const std::string& word);   // the console's: a refused move is reported
// The move just made at ply 0 joins the game record (first the book, when
// "ab" marked a position), and the next position's moves are generated.
void record_move();
void take_back_one();  // the last recorded move (undos > 0), without generating the moves
// The engine's move is made and recorded; should it be refused (the search
// and the book give legal moves), the engine stops playing instead: false.
bool play_engine_move(move_bytes m);
// The first legal move of ply 0's list (which must be current), or none.
move_bytes first_legal_move();
// The main thread's alone.
extern volatile std::sig_atomic_t search_interrupted;   // Ctrl-C came during the engine's search
// The engine searches (Ctrl-C stops the search and the best move so far is
// played, or the first legal move), prints its statistics and plays.
void engine_reply();
