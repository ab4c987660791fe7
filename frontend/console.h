// frontend/console.h: the console program: identity, start-up, the command
// loop reading one word at a time, and the commands that need no game.
#pragma once
#include <string>

#include "board/fen.h"
#include "frontend/input.h"

constexpr int FEN_BUFFER_SIZE = 100;
extern char fen_text[FEN_BUFFER_SIZE];   // the six words of the last "setboard"
extern int book_mark;                    // "ab" was typed: the next move goes into the book
extern char book_mark_key[BOOK_KEY_SIZE];   // the position when "ab" was typed

void print_identity();
void print_help();
void start_up();                     // identity, initial position, defaults
int  console_main();                 // the whole program; its exit status
