// board/fen.cpp: reading the fields of a FEN onto the board arrays, and the
// two writers.
#include "board/fen.h"
#include "board/position.h"
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

int fen_quiet;
char fen_message[FEN_MESSAGE_SIZE];

void fen_complain(const char* format, ...) {
    va_list args;
    va_start(args, format);
    if (fen_quiet) std::vsnprintf(fen_message, sizeof fen_message, format, args);
    else std::vprintf(format, args);
    va_end(args);
}

namespace {

constexpr const char* PIECE_LETTERS = "PNBRQK";

// Splits at white space into six fields; absent fields stay empty.
void split_fields(const char* fen, std::string fields[6]) {
    const char* p = fen;
    for (int i = 0; i < 6; i++) {
        while (*p && std::isspace(static_cast<unsigned char>(*p))) p++;
        const char* start = p;
        while (*p && !std::isspace(static_cast<unsigned char>(*p))) p++;
        fields[i].assign(start, p);
    }
}

bool is_rank_digit(char c) { return c >= '1' && c <= '8'; }

bool all_digits(const char* text) {
    for (; *text; text++)
        if (!std::isdigit(static_cast<unsigned char>(*text))) return false;
    return true;
}

// Colour and piece code of a placement letter; false for anything else.
bool piece_of_letter(char c, int* col, int* kind) {
    const char* found = c ? std::strchr(PIECE_LETTERS, std::toupper(static_cast<unsigned char>(c))) : nullptr;
    if (!found) return false;
    *kind = int(found - PIECE_LETTERS);
    *col = std::isupper(static_cast<unsigned char>(c)) ? LIGHT : DARK;
    return true;
}

void place_pieces(const char* field) {
    for (int s = 0; s < 64; s++) color[s] = piece[s] = EMPTY;
    int sq = 0;
    for (const char* p = field; *p; p++) {
        int col, kind;
        if (is_rank_digit(*p)) {
            sq += *p - '0';
        } else if (piece_of_letter(*p, &col, &kind)) {
            color[sq] = col;
            piece[sq] = kind;
            if (*p == 'K') light_king_sq = sq;
            if (*p == 'k') dark_king_sq = sq;
            sq++;
        }
    }
}

// Writes the board rank by rank with the given letters and rank separator.
char* write_board(char* out, const char* letters, char separator) {
    for (int row = 0; row < 8; row++) {
        int run = 0;
        for (int file = 0; file < 8; file++) {
            const int s = row * 8 + file;
            if (color[s] == EMPTY) {
                run++;
                continue;
            }
            if (run) *out++ = char('0' + run);
            run = 0;
            const char letter = letters[piece[s]];
            *out++ = color[s] == LIGHT ? letter : char(letter + 32);
        }
        if (run) *out++ = char('0' + run);
        if (row < 7) *out++ = separator;
    }
    *out = '\0';
    return out;
}

// An en passant square names the square a pawn of the side that has just
// moved passed over: it and the pawn's start square are empty and the pawn
// stands in front of it. Anything else would have the generator capture a
// pawn that is not there.
bool ep_matches_board() {
    if (ep == -1) return true;
    const int row = ep >> 3;
    if (side == LIGHT)
        return row == 2 && color[ep] == EMPTY && color[ep - 8] == EMPTY && color[ep + 8] == DARK &&
               piece[ep + 8] == PAWN;
    return row == 5 && color[ep] == EMPTY && color[ep + 8] == EMPTY && color[ep - 8] == LIGHT &&
           piece[ep - 8] == PAWN;
}

}  // namespace

int procesar_turno(char c) {
    if (c == 'w') {
        side = LIGHT;
        xside = DARK;
        return 1;
    }
    if (c == 'b') {
        side = DARK;
        xside = LIGHT;
        return 1;
    }
    if (c) fen_complain("invalid FEN turn character:%c\n", c);
    else fen_complain("invalid FEN turn character:\n");
    return 0;
}

int procesar_ep(const char* field) {
    // Rank '0' would name a square off the board: only 1 to 8 are squares.
    if (field[0] >= 'a' && field[0] <= 'h' && is_rank_digit(field[1])) {
        ep = (field[0] - 'a') + ('8' - field[1]) * 8;
        return 1;
    }
    if (field[0] == '-') {
        ep = -1;
        return 1;
    }
    fen_complain("invalid FEN ep square:%s\n", field);
    return 0;
}

int procesar_enroques(const char* field) {
    castle = 0;
    for (int i = 0; i < 4; i++) {
        switch (field[i]) {
            case '\0':
                if (i > 0) return 1;
                break;
            case '-':
                if (i == 0) return 1;
                break;
            case 'K': castle |= CASTLE_LIGHT_SHORT; continue;
            case 'Q': castle |= CASTLE_LIGHT_LONG; continue;
            case 'k': castle |= CASTLE_DARK_SHORT; continue;
            case 'q': castle |= CASTLE_DARK_LONG; continue;
            default: break;
        }
        fen_complain("invalid castle chain:%s\n", field);
        return 0;
    }
    return 1;
}

int procesar_fifty(const char* field) {
    if (!field[0]) return 0;
    // Digits only: a word such as "d" would otherwise give a count (52).
    if (!all_digits(field)) {
        fen_complain("invalid FEN half-move clock:%s\n", field);
        return 0;
    }
    if (!field[1]) fifty = field[0] - '0';
    else fifty = (field[0] - '0') * 10 + (field[1] - '0');
    return 1;
}

int procesar_absolute(const char* field) {
    if (!field[0] || !all_digits(field)) {
        fen_complain("invalid absolute move: %s\n", field);
        return 0;
    }
    return 1;
}

int procesar_piezas(const char* field) {
    for (const char* p = field; *p; p++) {
        int col, kind;
        if (!is_rank_digit(*p) && *p != '/' && !piece_of_letter(*p, &col, &kind)) {
            fen_complain("invalid fen character:%c\n", *p);
            return 0;
        }
    }
    // Walk the squares as place_pieces will, so that nothing is ever written
    // past h1 and the position has what move generation and evaluation need.
    int sq = 0, light_kings = 0, dark_kings = 0;
    for (const char* p = field; *p; p++) {
        int col, kind;
        if (is_rank_digit(*p)) {
            sq += *p - '0';
            if (sq > 64) break;
        } else if (piece_of_letter(*p, &col, &kind)) {
            if (sq >= 64) {
                sq = 65;
                break;
            }
            if (kind == KING) (col == LIGHT ? light_kings : dark_kings)++;
            if (kind == PAWN && (sq < 8 || sq >= 56)) {
                fen_complain("invalid fen pawn on first or last rank:%s\n", field);
                return 0;
            }
            sq++;
        }
    }
    if (sq > 64) {
        fen_complain("invalid fen placement, past h1:%s\n", field);
        return 0;
    }
    if (light_kings != 1 || dark_kings != 1) {
        fen_complain("invalid fen king count:%s\n", field);
        return 0;
    }
    return 1;
}

int read_fen_fields(const char* fen) {
    std::string f[6];
    split_fields(fen, f);
    if (!procesar_turno(f[1].c_str()[0])) return 0;
    if (!procesar_ep(f[3].c_str())) return 0;
    if (!procesar_enroques(f[2].c_str())) return 0;
    if (!procesar_fifty(f[4].c_str())) return 0;
    if (!procesar_absolute(f[5].c_str())) return 0;
    if (!procesar_piezas(f[0].c_str())) return 0;
    place_pieces(f[0].c_str());
    if (!ep_matches_board()) {
        fen_complain("invalid FEN ep square:%s\n", f[3].c_str());
        return 0;
    }
    return 1;
}

void fen_display(char* out) {
    out = write_board(out, piece_char_english, '/');
    out += std::sprintf(out, " %c ", side == LIGHT ? 'w' : 'b');
    if (castle & CASTLE_LIGHT_SHORT) *out++ = 'K';
    if (castle & CASTLE_LIGHT_LONG) *out++ = 'Q';
    if (castle & CASTLE_DARK_SHORT) *out++ = 'k';
    if (castle & CASTLE_DARK_LONG) *out++ = 'q';
    if (!castle) *out++ = '-';
    std::strcpy(out, " -");
}

void forsyth(char* out) {
    write_board(out, piece_char, ',');
}
