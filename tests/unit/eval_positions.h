// Helpers for the evaluation tests: positions written as a list of men,
// the colour-for-colour mirror of a FEN string, and moves played by their
// coordinates.
#pragma once
#include "board/fen.h"
#include "board/position.h"
#include "moves/gen.h"
#include "moves/make.h"
#include <cctype>
#include <sstream>
#include <string>

namespace eval_positions {

inline int sq(const char* name) { return (name[0] - 'a') + ('8' - name[1]) * 8; }

// FEN of the men listed as "Ke1 Ra1 ke8 pe7": the letter gives the kind,
// upper case light and lower case dark, then the square.
inline std::string fen_of(const std::string& men, char to_move = 'w', const char* castling = "-") {
    char board[64];
    for (char& c : board) c = '.';
    std::istringstream in(men);
    std::string word;
    while (in >> word) board[sq(word.c_str() + 1)] = word[0];
    std::string fen;
    for (int row = 0; row < 8; row++) {
        int run = 0;
        for (int file = 0; file < 8; file++) {
            const char c = board[row * 8 + file];
            if (c == '.') {
                run++;
                continue;
            }
            if (run) fen += char('0' + run);
            run = 0;
            fen += c;
        }
        if (run) fen += char('0' + run);
        if (row < 7) fen += '/';
    }
    return fen + ' ' + to_move + ' ' + castling + " - 0 1";
}

// The same position with the ranks flipped and the colours swapped, the
// other side to move: every symmetric term changes sign.
inline std::string mirror_fen(const std::string& fen) {
    std::istringstream in(fen);
    std::string placement, turn, castling, ep, half, full;
    in >> placement >> turn >> castling >> ep >> half >> full;
    std::string ranks[8];
    int r = 0;
    for (char c : placement) {
        if (c == '/') r++;
        else ranks[r] += char(std::isalpha(static_cast<unsigned char>(c)) ? (c ^ 0x20) : c);
    }
    std::string out;
    for (int i = 7; i >= 0; i--) out += ranks[i] + (i ? "/" : "");
    if (castling != "-")
        for (char& c : castling) c ^= 0x20;
    if (ep != "-") ep[1] = char('1' + '8' - ep[1]);
    return out + ' ' + (turn == "w" ? 'b' : 'w') + ' ' + castling + ' ' + ep + ' ' + half + ' ' + full;
}

// Plays the move given in coordinates (e2e4) at the current ply; 1 when it
// was generated and legal.
inline int play(const char* text) {
    Move2Gen();
    const int from = sq(text), to = sq(text + 2);
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++)
        if (gen_dat[i].m.from == from && gen_dat[i].m.to == to) return makemove(gen_dat[i].m);
    return 0;
}

}  // namespace eval_positions
