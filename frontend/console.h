// frontend/console.h: the console program of every edition: identity,
// start-up, and the command loop reading one word at a time.
// Editions: 3.5, 3.0, 2.3
#pragma once
#include "board/fen.h"

constexpr int START_DEPTH = 4;   // plies per move until "st" or "sd"
constexpr const char* AUTHOR = "Varnelo - Tarvenia";

// The main thread's alone (the front end's state; no search thread reads it).
extern int book_mark;                    // "ab" was typed: the next move goes into the book
extern char book_mark_key[BOOK_KEY_SIZE];   // the position when "ab" was typed

void print_identity();
void print_help();
void start_up();                     // identity, initial position, defaults
int  console_main();                 // the whole program; its exit status
