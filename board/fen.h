// board/fen.h: setting up a position from FEN text, and writing the position
// back as FEN or as the compact board key of the opening book. The fields
// are read the same way in every edition; process_fen is the edition's set-up.
// Editions: 3.5, 3.0, 2.3; process_fen is board/setup.cpp in 3.5 and 3.0, editions/v23/loader.cpp
// in 2.3.
#pragma once

constexpr int FEN_TEXT_SIZE = 81;     // longest fen_display output plus its NUL
constexpr int BOOK_KEY_SIZE = 72;     // longest forsyth output plus its NUL

constexpr int FEN_MESSAGE_SIZE = 160;
// The main thread's alone.
extern int fen_quiet;                        // messages are kept in fen_message instead of printed
extern char fen_message[FEN_MESSAGE_SIZE];   // the last message kept, cut to fit
void fen_complain(const char* format, ...);  // a message about a refused FEN: printed, or kept

// Sets up the position of a six-field FEN string; 1 on success. On 0 a
// message has been printed (none for a missing half-move field) and the
// position is half-made: the caller sets up the initial position.
int process_fen(const char* fen);

// The six fields onto the side, rights, ep, counter and the board arrays
// (with the king squares); 1 on success, 0 after the field's message.
int read_fen_fields(const char* fen);

// Field readers; 1 on success, 0 (with a message) on a bad field.
int procesar_turno(char c);
int procesar_ep(const char* field);
int procesar_enroques(const char* field);
int procesar_fifty(const char* field);      // digits only, the first two read; empty fails unreported
int procesar_absolute(const char* field);   // digits only; the move number sets nothing
int procesar_piezas(const char* field);   // checks the placement; places nothing

void fen_display(char* out);   // four FEN fields; out holds FEN_TEXT_SIZE chars
void forsyth(char* out);       // board only, Spanish letters, ',' between ranks; BOOK_KEY_SIZE chars
