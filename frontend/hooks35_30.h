// frontend/hooks35_30.h: the front-end pieces of editions 3.5 and 3.0, which
// read FEN and keep hash tables: "setboard" at the console and in XBoard
// mode, "ev" and "lj"; the rest of frontend/edition_hooks.h they do alike is
// in frontend/hooks35_30.cpp.
// Editions: 3.5, 3.0; cmd_ev and MATERIAL_RESULTS_LABEL are each edition's
// own (frontend/texts.cpp, editions/v30/texts.cpp).
#pragma once

constexpr int FEN_BUFFER_SIZE = 100;    // the text of one "setboard", 99 characters
constexpr int XBOARD_FIELD_SIZE = 64;   // one XBoard "setboard" field, 63 characters
// The main thread's alone.
extern char fen_text[FEN_BUFFER_SIZE];  // the FEN text of the last console "setboard"

extern const char* const MATERIAL_RESULTS_LABEL;   // opens the material-table statistics

int  cmd_setboard();   // reads the FEN (four words on the setboard line, else six) and sets it up; 0 when input ends first
void cmd_lj();         // lists ply 0's generated moves with their scores
void print_evaluation_terms();   // the static evaluation and the pawn terms, nine lines
void cmd_ev();         // "ev": the evaluation terms, and what else the edition shows
