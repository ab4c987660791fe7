// board/position.cpp: the position globals and the constant board tables.
#include "board/position.h"
#include <cstring>

constinit thread_local int color[64]{};
constinit thread_local int piece[64]{};
constinit thread_local int side{}, xside{};
constinit thread_local int computer_side = EMPTY;
constinit thread_local int castle{};
constinit thread_local int ep = -1;
constinit thread_local int fifty{};
constinit thread_local int ply{};
constinit thread_local int light_king_sq{}, dark_king_sq{};
signed char dt[64][64];

namespace {

constexpr std::array<int, 64> make_castle_mask() {
    std::array<int, 64> m{};
    m.fill(15);
    m[A8] = 15 & ~CASTLE_DARK_LONG;
    m[E8] = 15 & ~(CASTLE_DARK_SHORT | CASTLE_DARK_LONG);
    m[H8] = 15 & ~CASTLE_DARK_SHORT;
    m[A1] = 15 & ~CASTLE_LIGHT_LONG;
    m[E1] = 15 & ~(CASTLE_LIGHT_SHORT | CASTLE_LIGHT_LONG);
    m[H1] = 15 & ~CASTLE_LIGHT_SHORT;
    return m;
}

}  // namespace

const std::array<int, 64> castle_mask = make_castle_mask();

constinit thread_local gen_rec gen_dat[GEN_STACK]{};
constinit thread_local int gen_begin[MAX_PLY + 1]{}, gen_end[MAX_PLY + 1]{};
constinit thread_local hist_rec hist_dat[MAX_PLY]{};
constinit thread_local hist_rec undo_dat[MAX_GAME]{};
constinit thread_local int undos{};
constinit thread_local int game_plies{};

namespace {
constexpr int RECORDS_KEPT = MAX_GAME / 2;   // what a full record keeps: an even count, so moves still pair up
static_assert(RECORDS_KEPT % 2 == 0 && RECORDS_KEPT >= 10);   // the repetition test reads the last ten
}  // namespace

void keep_room_in_record() {
    if (undos < MAX_GAME) return;
    std::memmove(undo_dat, undo_dat + (MAX_GAME - RECORDS_KEPT), RECORDS_KEPT * sizeof(hist_rec));
    undos = RECORDS_KEPT;
}

void save_board(board_copy* c) {
    std::memcpy(c->color, color, sizeof color);
    std::memcpy(c->piece, piece, sizeof piece);
    c->side = side;
    c->xside = xside;
    c->computer_side = computer_side;
    c->castle = castle;
    c->ep = ep;
    c->fifty = fifty;
    c->light_king_sq = light_king_sq;
    c->dark_king_sq = dark_king_sq;
    c->undos = undos;
    c->game_plies = game_plies;
    std::memcpy(c->undo_dat, undo_dat, size_t(undos) * sizeof(hist_rec));
}

void restore_board(const board_copy& c) {
    std::memcpy(color, c.color, sizeof color);
    std::memcpy(piece, c.piece, sizeof piece);
    side = c.side;
    xside = c.xside;
    computer_side = c.computer_side;
    castle = c.castle;
    ep = c.ep;
    fifty = c.fifty;
    light_king_sq = c.light_king_sq;
    dark_king_sq = c.dark_king_sq;
    undos = c.undos;
    game_plies = c.game_plies;
    std::memcpy(undo_dat, c.undo_dat, size_t(undos) * sizeof(hist_rec));
    ply = 0;
    gen_begin[0] = 0;
}

void clear_game_record() {
    undos = 0;
    game_plies = 0;
}

const int mailbox[120] = {
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1,  0,  1,  2,  3,  4,  5,  6,  7, -1,
    -1,  8,  9, 10, 11, 12, 13, 14, 15, -1,
    -1, 16, 17, 18, 19, 20, 21, 22, 23, -1,
    -1, 24, 25, 26, 27, 28, 29, 30, 31, -1,
    -1, 32, 33, 34, 35, 36, 37, 38, 39, -1,
    -1, 40, 41, 42, 43, 44, 45, 46, 47, -1,
    -1, 48, 49, 50, 51, 52, 53, 54, 55, -1,
    -1, 56, 57, 58, 59, 60, 61, 62, 63, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1,
};

const signed char mailbox64[64] = {
    21, 22, 23, 24, 25, 26, 27, 28,
    31, 32, 33, 34, 35, 36, 37, 38,
    41, 42, 43, 44, 45, 46, 47, 48,
    51, 52, 53, 54, 55, 56, 57, 58,
    61, 62, 63, 64, 65, 66, 67, 68,
    71, 72, 73, 74, 75, 76, 77, 78,
    81, 82, 83, 84, 85, 86, 87, 88,
    91, 92, 93, 94, 95, 96, 97, 98,
};

const int offsets[6] = {0, 8, 4, 4, 8, 8};

const int offset[6][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {-21, -19, -12, -8, 8, 12, 19, 21},
    {-11, -9, 9, 11, 0, 0, 0, 0},
    {-10, -1, 1, 10, 0, 0, 0, 0},
    {-11, -10, -9, -1, 1, 9, 10, 11},
    {-11, -10, -9, -1, 1, 9, 10, 11},
};

const int flip[64] = {
    56, 57, 58, 59, 60, 61, 62, 63,
    48, 49, 50, 51, 52, 53, 54, 55,
    40, 41, 42, 43, 44, 45, 46, 47,
    32, 33, 34, 35, 36, 37, 38, 39,
    24, 25, 26, 27, 28, 29, 30, 31,
    16, 17, 18, 19, 20, 21, 22, 23,
     8,  9, 10, 11, 12, 13, 14, 15,
     0,  1,  2,  3,  4,  5,  6,  7,
};

const char piece_char[7] = "PCATDR";
const char piece_char_english[7] = "PNBRQK";

const char* const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1";
