// Test helpers for the move layer: a copy of every global that describes the
// position, the sets rebuilt from the board arrays alone, the pawn and piece
// parts of the keys summed over the board, and lookups in the move list.
#pragma once
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/position.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace position_state {

// Every square set kept beside the board arrays.
#define POSITION_STATE_SETS(X)                                                            \
    X(light_pawns) X(dark_pawns) X(light_knights) X(dark_knights) X(light_bishops)       \
    X(dark_bishops) X(light_rooks) X(dark_rooks) X(light_queens) X(dark_queens)          \
    X(light_occupied) X(dark_occupied) X(light_pieces) X(dark_pieces)                    \
    X(light_rooksqueens) X(dark_rooksqueens) X(light_bishopsqueens) X(dark_bishopsqueens) \
    X(empty_squares) X(light_pawn_attacked) X(dark_pawn_attacked) X(light_open_columns)  \
    X(dark_open_columns) X(casillas_ocupadas) X(casillas_ocupadas_90R)

#define POSITION_STATE_KEYS(X) X(master_checksum) X(master_pawn) X(master_material)

#define POSITION_STATE_SCALARS(X)                                                          \
    X(material_balance) X(castle) X(ep) X(fifty) X(side) X(xside) X(ply) X(light_king_sq) \
    X(dark_king_sq)

struct snapshot {
    int color[64];
    int piece[64];
#define POSITION_STATE_FIELD(name) decltype(::name) name;
    POSITION_STATE_SETS(POSITION_STATE_FIELD)
    POSITION_STATE_KEYS(POSITION_STATE_FIELD)
    POSITION_STATE_SCALARS(POSITION_STATE_FIELD)
#undef POSITION_STATE_FIELD
};

inline snapshot take() {
    snapshot s;
    for (int i = 0; i < 64; i++) {
        s.color[i] = ::color[i];
        s.piece[i] = ::piece[i];
    }
#define POSITION_STATE_COPY(name) s.name = ::name;
    POSITION_STATE_SETS(POSITION_STATE_COPY)
    POSITION_STATE_KEYS(POSITION_STATE_COPY)
    POSITION_STATE_SCALARS(POSITION_STATE_COPY)
#undef POSITION_STATE_COPY
    return s;
}

inline void put_back(const snapshot& s) {
    for (int i = 0; i < 64; i++) {
        ::color[i] = s.color[i];
        ::piece[i] = s.piece[i];
    }
#define POSITION_STATE_BACK(name) ::name = s.name;
    POSITION_STATE_SETS(POSITION_STATE_BACK)
    POSITION_STATE_KEYS(POSITION_STATE_BACK)
    POSITION_STATE_SCALARS(POSITION_STATE_BACK)
#undef POSITION_STATE_BACK
}

// Names of the sets that differ; empty when all agree.
inline std::string set_differences(const snapshot& a, const snapshot& b) {
    std::string out;
#define POSITION_STATE_DIFF(name) \
    if (a.name != b.name) out += " " #name;
    POSITION_STATE_SETS(POSITION_STATE_DIFF)
    return out;
}

// Names of everything that differs: board squares, sets, keys, counters.
inline std::string differences(const snapshot& a, const snapshot& b) {
    std::string out;
    for (int i = 0; i < 64; i++)
        if (a.color[i] != b.color[i] || a.piece[i] != b.piece[i]) out += " square" + std::to_string(i);
    out += set_differences(a, b);
    POSITION_STATE_KEYS(POSITION_STATE_DIFF)
    POSITION_STATE_SCALARS(POSITION_STATE_DIFF)
#undef POSITION_STATE_DIFF
    return out;
}

// The sets as setting up this board from scratch would build them. The
// current state is put back afterwards, whatever the rebuild produced.
inline snapshot rebuilt() {
    const snapshot kept = take();
    init_occupied();
    const snapshot fresh = take();
    put_back(kept);
    return fresh;
}

// Material balance counted from the board arrays.
inline int counted_material() {
    int sum = 0;
    for (int s = 0; s < 64; s++)
        if (::color[s] != EMPTY) sum += ::color[s] == LIGHT ? piece_value[::piece[s]] : -piece_value[::piece[s]];
    return sum;
}

// XOR of the piece keys of the men on the board, pawns apart from the rest:
// the pawn and material keys are these sums taken relative to the set-up board.
struct key_sums {
    uint64_t pawns = 0, others = 0;
};

inline key_sums summed_keys() {
    key_sums k;
    for (int s = 0; s < 64; s++) {
        if (::color[s] == EMPTY) continue;
        (::piece[s] == PAWN ? k.pawns : k.others) ^= hash_checksum[s][::color[s]][::piece[s]];
    }
    return k;
}

// XOR of the piece keys of everything that differs between two boards.
inline uint64_t placement_change(const snapshot& a, const snapshot& b) {
    uint64_t k = 0;
    for (int s = 0; s < 64; s++) {
        if (a.color[s] == b.color[s] && a.piece[s] == b.piece[s]) continue;
        if (a.color[s] != EMPTY) k ^= hash_checksum[s][a.color[s]][a.piece[s]];
        if (b.color[s] != EMPTY) k ^= hash_checksum[s][b.color[s]][b.piece[s]];
    }
    return k;
}

// Square from coordinate text such as "e4".
inline int sq(const char* name) { return (name[0] - 'a') + ('8' - name[1]) * 8; }

inline BitBoard squares(std::initializer_list<const char*> names) {
    BitBoard b = 0;
    for (const char* n : names) b |= BitBoard{1} << sq(n);
    return b;
}

inline move_bytes mv(const char* from, const char* to, int promote = 0, int bits = 0) {
    return move_bytes{int8_t(sq(from)), int8_t(sq(to)), int8_t(promote), int8_t(bits)};
}

// The moves of the current ply, in list order.
inline std::vector<gen_rec> listed() {
    return std::vector<gen_rec>(gen_dat + gen_begin[ply], gen_dat + gen_end[ply]);
}

// Index in gen_dat of the first listed move from `from` to `to` (and with
// the promotion piece, when given), or -1.
inline int find(const char* from, const char* to, int promote = -1) {
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (m.from == sq(from) && m.to == sq(to) && (promote < 0 || m.promote == promote)) return i;
    }
    return -1;
}

// Coordinates of a move such as "e7e8q", as the list shows it.
inline std::string text(move_bytes m) {
    std::string s;
    s += char('a' + (m.from & 7));
    s += char('8' - (m.from >> 3));
    s += char('a' + (m.to & 7));
    s += char('8' - (m.to >> 3));
    if (m.bits & MF_PROMOTE) s += "pnbrqk"[m.promote];
    return s;
}

// The listed moves as text, in list order, separated by blanks.
inline std::string listed_text() {
    std::string s;
    for (const gen_rec& r : listed()) {
        if (!s.empty()) s += ' ';
        s += text(r.m);
    }
    return s;
}

}  // namespace position_state
