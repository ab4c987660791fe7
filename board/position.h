// board/position.h: the mailbox half of the position, the move record, the
// move list, the undo records and the game record, and the small geometry
// tables (mailbox, offsets, flip) that the bitboard and attack code read.
// Editions: 3.5, 3.0, 2.3; sizes and castling bits come from each edition's edition.h.
#pragma once
#include <array>
#include <cstdint>
#include "edition.h"

// Colour codes; EMPTY (6) also means "no piece" in `piece` and "neither side"
// in `computer_side`.
constexpr int LIGHT = 0, DARK = 1, EMPTY = 6;
// Piece codes.
constexpr int PAWN = 0, KNIGHT = 1, BISHOP = 2, ROOK = 3, QUEEN = 4, KING = 5;

// Square numbers: a8 is 0, h8 7, a1 56, h1 63, rank by rank from the eighth.
enum board_square : int {
    A8, B8, C8, D8, E8, F8, G8, H8,
    A7, B7, C7, D7, E7, F7, G7, H7,
    A6, B6, C6, D6, E6, F6, G6, H6,
    A5, B5, C5, D5, E5, F5, G5, H5,
    A4, B4, C4, D4, E4, F4, G4, H4,
    A3, B3, C3, D3, E3, F3, G3, H3,
    A2, B2, C2, D2, E2, F2, G2, H2,
    A1, B1, C1, D1, E1, F1, G1, H1,
};

// Flag bits of move_bytes::bits.
constexpr int MF_CAPTURE = 0x01, MF_CASTLE = 0x02, MF_EP = 0x04;
constexpr int MF_DOUBLE = 0x08, MF_PAWN = 0x10, MF_PROMOTE = 0x20;

// Capacities, per edition (edition.h): editions 3.5 and 3.0 keep 2048
// half-moves in the game record, edition 2.3 its 300. A game goes on past
// them: a full record drops its older half (see keep_room_in_record).
constexpr int MAX_PLY = EDITION_MAX_PLY;   // undo records per search line
// A position a game can reach has at most 325 pseudo-legal moves: nine
// queens, two rooks, bishops and knights, king moves, castling, en passant.
constexpr int MAX_MOVES = 325;
constexpr int GEN_STACK = MAX_PLY * MAX_MOVES;   // entries of the generated-move list
// The fuzz build keeps a short record, so that short inputs fill it.
#ifdef ZORVU_GAME_RECORD
constexpr int MAX_GAME = ZORVU_GAME_RECORD;
#else
constexpr int MAX_GAME = EDITION_MAX_GAME;   // half-moves in the game record
#endif

// A move: origin, destination, promotion piece (0 when none) and flags.
// It is also handled as one 32-bit value: from in the lowest byte, then to,
// promote and bits; 0 means "no move".
struct move_bytes {
    int8_t from, to, promote, bits;
};

constexpr uint32_t move_value(move_bytes m) {
    return uint32_t(uint8_t(m.from)) | uint32_t(uint8_t(m.to)) << 8 |
           uint32_t(uint8_t(m.promote)) << 16 | uint32_t(uint8_t(m.bits)) << 24;
}
constexpr move_bytes to_move(uint32_t v) {
    return move_bytes{int8_t(v & 0xFF), int8_t(v >> 8 & 0xFF), int8_t(v >> 16 & 0xFF),
                      int8_t(v >> 24 & 0xFF)};
}
constexpr bool operator==(move_bytes a, move_bytes b) { return move_value(a) == move_value(b); }

struct gen_rec {
    move_bytes m;
    int score;   // ordering score given by the generator
};

// Everything a made move changes and cannot recompute: the state before it.
struct hist_rec {
    move_bytes m;
    signed char capture;   // piece code that stood on m.to, EMPTY when none
    int castle;            // rights before the move; NULL_MARK (edition.h) marks a null move
    int ep;
    int fifty;
    uint64_t checksum, pawn_key, material_key;
    uint64_t light_occupied, dark_occupied;
    int material_balance;
    signed char dark_king_sq, light_king_sq;
    uint64_t dark_pawns, light_pawns, dark_pawn_attacked, light_pawn_attacked;
    uint64_t dark_open_columns, light_open_columns;
    uint64_t light_bishops, dark_bishops, light_knights, dark_knights;
    uint64_t light_rooks, dark_rooks, light_queens, dark_queens;
    uint64_t casillas_ocupadas, casillas_ocupadas_90R;
};

// Per thread (each search thread has its own position, lists and records):
extern constinit thread_local int color[64];
extern constinit thread_local int piece[64];
extern constinit thread_local int side, xside;
extern constinit thread_local int computer_side;   // set by the front end; copied into the helpers
extern constinit thread_local int castle;      // rights: the CASTLE_* bits of the edition
extern constinit thread_local int ep;          // square passed over by the last double step, or -1
extern constinit thread_local int fifty;
extern constinit thread_local int ply;
extern constinit thread_local int light_king_sq, dark_king_sq;
// Shared, built once at start-up:
extern signed char dt[64][64];   // king distance between two squares

// After a move, castle &= castle_mask[from] & castle_mask[to]: moving from
// or to a king's or rook's home square clears the rights that need it.
extern const std::array<int, 64> castle_mask;

// Per thread:
extern constinit thread_local gen_rec gen_dat[GEN_STACK];
extern constinit thread_local int gen_begin[MAX_PLY + 1], gen_end[MAX_PLY + 1];   // the list of ply p: [gen_begin[p], gen_end[p])
extern constinit thread_local hist_rec hist_dat[MAX_PLY];
extern constinit thread_local hist_rec undo_dat[MAX_GAME];
extern constinit thread_local int undos;        // records kept in undo_dat, the last move last
// Half-moves played since the position was set up; what counts the game's
// moves (the book window, clock rules, moves to the time control) reads
// this, since the record may have dropped its oldest moves.
extern constinit thread_local int game_plies;

extern const int mailbox[120];
extern const signed char mailbox64[64];
extern const int offsets[6];
extern const int offset[6][8];
extern const int flip[64];
extern const char piece_char[7];           // "PCATDR": board printing and book key
extern const char piece_char_english[7];   // "PNBRQK": FEN

extern const char* const START_FEN;

// The board and the game record of one thread, as a helper thread copies
// them from the main thread before it searches (each edition adds what it
// derives from them: keys, bitboards, material).
struct board_copy {
    int color[64], piece[64];
    int side, xside, computer_side, castle, ep, fifty, light_king_sq, dark_king_sq;
    int undos, game_plies;
    hist_rec undo_dat[MAX_GAME];
};
void save_board(board_copy* c);          // this thread's board into *c
void restore_board(const board_copy& c); // *c into this thread's board, at ply 0

void init();   // sets up the initial position (from START_FEN, but in edition 2.3)
// Makes room for one more record: a full record drops its older half, so
// that take-backs still reach far and the repetition test its last moves.
void keep_room_in_record();
void clear_game_record();   // no move played since the position was set up
