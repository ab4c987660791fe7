// book/book.cpp: looking up and growing the opening book.
#include "book/book.h"
#include "board/fen.h"
#include "moves/make.h"
#include "search/driver.h"
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Only entries whose preceding '/' stands at this position of the move list
// or before are offered.
constexpr std::size_t LAST_ENTRY_START = 26;

// A line belongs to key and side when its first word is the key and the
// second character of its second word is the side digit. On a match,
// *moves points to the second word.
bool line_matches(const std::string& line, const char* key, int side, std::size_t* moves) {
    const std::size_t blank = line.find(' ');
    if (blank == std::string::npos || line.compare(0, blank, key) != 0) return false;
    const std::size_t second = line.find_first_not_of(' ', blank);
    if (second == std::string::npos || second + 1 >= line.size()) return false;
    if (line[second + 1] != char('0' + side)) return false;
    *moves = second;
    return true;
}

// One or two digits; -1 when there are none.
int read_square(const char* s, std::size_t* i) {
    if (!std::isdigit(static_cast<unsigned char>(s[*i]))) return -1;
    int n = s[(*i)++] - '0';
    if (std::isdigit(static_cast<unsigned char>(s[*i]))) n = n * 10 + (s[(*i)++] - '0');
    return n;
}

// The generated move of ply 0 with these squares (a promotion: the queen),
// when makemove accepts it.
const gen_rec* playable(int from, int to) {
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (m.from != from || m.to != to) continue;
        if (!makemove(m)) return nullptr;
        takeback();
        return &gen_dat[i];
    }
    return nullptr;
}

// A book the user has made read-only stays as it is: the file must open
// for writing (without being emptied; a missing file is created empty,
// which reads as an empty book) before it is replaced.
bool writable(const char* name) {
    std::ofstream probe(name, std::ios::app);
    return bool(probe);
}

void copy_file(const char* from, const char* to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (in && out) out << in.rdbuf();
}

}  // namespace

int book_entries(const char* moves, book_entry* out) {
    int n = 0;
    std::size_t previous_slash = 2;   // the one after the side digit
    if (moves[0] != '/' || !moves[1] || moves[2] != '/') return 0;
    while (previous_slash <= LAST_ENTRY_START && moves[previous_slash + 1] && n < BOOK_MAX_ENTRIES) {
        std::size_t i = previous_slash + 1;
        const int from = read_square(moves, &i);
        if (from < 0 || moves[i++] != ',') break;
        const int to = read_square(moves, &i);
        if (to < 0 || moves[i] != '/') break;
        if (from < 64 && to < 64) out[n++] = book_entry{from, to};
        previous_slash = i;
    }
    return n;
}

int book_move_bits(int from, int to) {
    int bits = 0;
    if (color[to] != EMPTY) bits |= MF_CAPTURE;
    if (piece[from] == PAWN) {
        bits |= MF_PAWN;
        if (to == ep) bits |= MF_EP;
        if (std::abs(from - to) > 9) bits |= MF_DOUBLE;
    }
    // Castling is the king's only move of two squares; a step to the next
    // rank (7, 8 or 9 squares on) is a plain move, and flagged as castling
    // it would move a rook that is not there.
    if (piece[from] == KING && std::abs(from - to) == 2) bits |= MF_CASTLE;
    return bits;
}

int book_move(int side) {
    char key[BOOK_KEY_SIZE];
    forsyth(key);
    std::ifstream file(BOOK_FILE);
    std::string line;
    std::size_t moves = 0;
    bool found = false;
    while (!found && std::getline(file, line)) found = line_matches(line, key, side, &moves);
    if (!found) return 0;

    // Only the move list's word: the entries end at the next blank.
    const std::string list = line.substr(moves, line.find(' ', moves) - moves);
    book_entry entries[BOOK_MAX_ENTRIES];
    const int n = book_entries(list.c_str(), entries);
    if (n == 0) return 0;
    if (!line_hook) {
        std::printf("In Book: ");
        for (int i = 0; i < n; i++) std::printf("%d,%d ", entries[i].from, entries[i].to);
        std::printf(" \n");
    }

#ifdef ZORVU_BOOK_SEED
    std::srand(ZORVU_BOOK_SEED);   // the fuzz build: the same choice every time, so that a run repeats
#else
    std::srand(unsigned(get_ms()));
#endif
    const book_entry chosen = entries[std::rand() % n];
    // An entry may be stale (the key holds no castling rights) or a pawn
    // reaching the last rank: only a move the position allows is played.
    const gen_rec* g = playable(chosen.from, chosen.to);
    if (!g) return 0;
    if (g->m.bits & MF_PROMOTE) {
        var_princ.moves[0] = g->m;
    } else {
        var_princ.moves[0] = move_bytes{int8_t(chosen.from), int8_t(chosen.to), 0,
                                        int8_t(book_move_bits(chosen.from, chosen.to))};
    }
    return 1;
}

void addbook(const char* key, int from, int to, int side) {
    std::printf("Adding to book ... \n");
    std::ifstream book(BOOK_FILE);   // a missing book reads as empty
    std::ofstream temp(BOOK_TEMP_FILE, std::ios::trunc);
    if (!temp) {
        std::printf("Book not updated: cannot create %s\n", BOOK_TEMP_FILE);
        return;
    }
    const std::string entry = std::to_string(from) + "," + std::to_string(to) + "/";
    std::string line;
    bool added = false;
    std::size_t moves;
    while (std::getline(book, line)) {
        if (!added && line_matches(line, key, side, &moves)) {
            line += entry;
            added = true;
        }
        temp << line << '\n';
    }
    if (!added) temp << key << " /" << side << "/" << entry << '\n';
    book.close();
    temp.close();
    if (temp.fail()) {
        std::printf("Book not updated: cannot write %s\n", BOOK_TEMP_FILE);
        return;
    }
    // open.tmp is complete before open.dat is touched, and open.dat is then
    // replaced in one step: killed at any moment, the program leaves the old
    // or the new book whole in open.dat. Copying open.tmp over open.dat
    // instead would leave it cut short when killed during the copy, and the
    // next run would build its book from the cut file.
    if (!writable(BOOK_FILE) || std::rename(BOOK_TEMP_FILE, BOOK_FILE) != 0) {
        std::printf("Book not updated: cannot write %s (the new book is in %s)\n", BOOK_FILE, BOOK_TEMP_FILE);
        return;
    }
    // open.tmp keeps a copy of the new book, as after every addition. Cut
    // short by a kill, it does no harm: open.dat is whole, and the next
    // addition writes open.tmp anew from it.
    copy_file(BOOK_FILE, BOOK_TEMP_FILE);
    std::printf("Book update \n");
}
