// Piece sets: every set rebuilt at set-up is compared with the same set
// gathered square by square from the board arrays, and the incremental
// updates are followed through random sequences of additions and removals.
#include "bitboard/pieces.h"
#include "bitboard/rotated.h"
#include "bitboard/tables.h"
#include "board/fen.h"
#include "board/position.h"
#include "board_walk.h"
#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace board_walk;

namespace {

// Every set of the position, in one record so that two states can be compared.
struct piece_sets {
    BitBoard pawns[2], knights[2], bishops[2], rooks[2], queens[2];
    BitBoard occupied[2], pieces[2], rooksqueens[2], bishopsqueens[2];
    BitBoard pawn_attacked[2], open_columns[2];
    BitBoard all, rotated, empty;
    bool operator==(const piece_sets&) const = default;
};

piece_sets current_sets() {
    return {{light_pawns, dark_pawns},
            {light_knights, dark_knights},
            {light_bishops, dark_bishops},
            {light_rooks, dark_rooks},
            {light_queens, dark_queens},
            {light_occupied, dark_occupied},
            {light_pieces, dark_pieces},
            {light_rooksqueens, dark_rooksqueens},
            {light_bishopsqueens, dark_bishopsqueens},
            {light_pawn_attacked, dark_pawn_attacked},
            {light_open_columns, dark_open_columns},
            casillas_ocupadas,
            casillas_ocupadas_90R,
            empty_squares};
}

void spoil_all_sets() {
    BitBoard* sets[] = {&light_pawns, &dark_pawns, &light_knights, &dark_knights,
                        &light_bishops, &dark_bishops, &light_rooks, &dark_rooks,
                        &light_queens, &dark_queens, &light_occupied, &dark_occupied,
                        &light_pieces, &dark_pieces, &light_rooksqueens, &dark_rooksqueens,
                        &light_bishopsqueens, &dark_bishopsqueens, &light_pawn_attacked,
                        &dark_pawn_attacked, &light_open_columns, &dark_open_columns,
                        &casillas_ocupadas, &casillas_ocupadas_90R, &empty_squares};
    for (BitBoard* b : sets) *b = 0x5A5A5A5A5A5A5A5AULL;
}

// Squares the pawns of side c attack, and the files without a pawn of side
// c, from nothing but the pawn set.
BitBoard attacked_by_pawns(BitBoard pawns, int c) {
    BitBoard b = 0;
    for (int s = 0; s < 64; s++)
        if (pawns >> s & 1) b |= pawn_steps(s, c);
    return b;
}

BitBoard files_without(BitBoard pawns) {
    BitBoard b = 0;
    for (int f = 0; f < 8; f++) {
        BitBoard file = 0;
        for (int r = 0; r < 8; r++) file |= bit(square_at(f, r));
        if (!(pawns & file)) b |= file;
    }
    return b;
}

// The sets as they follow from the board arrays.
piece_sets sets_from_arrays() {
    piece_sets w{};
    for (int s = 0; s < 64; s++) {
        if (color[s] == EMPTY) continue;
        const int c = color[s];
        w.occupied[c] |= bit(s);
        switch (piece[s]) {
            case PAWN: w.pawns[c] |= bit(s); break;
            case KNIGHT: w.knights[c] |= bit(s); break;
            case BISHOP: w.bishops[c] |= bit(s); break;
            case ROOK: w.rooks[c] |= bit(s); break;
            case QUEEN: w.queens[c] |= bit(s); break;
            default: break;
        }
    }
    for (int c = 0; c < 2; c++) {
        w.pieces[c] = w.occupied[c] & ~w.pawns[c];
        w.rooksqueens[c] = w.rooks[c] | w.queens[c];
        w.bishopsqueens[c] = w.bishops[c] | w.queens[c];
        w.pawn_attacked[c] = attacked_by_pawns(w.pawns[c], c);
        w.open_columns[c] = files_without(w.pawns[c]);
    }
    w.all = w.occupied[0] | w.occupied[1];
    w.empty = ~w.all;
    for (int s = 0; s < 64; s++)
        if (w.all >> s & 1) w.rotated |= bit((7 - file_of(s)) * 8 + row_of(s));
    return w;
}

void expect_sets_follow_the_board(const std::string& where) {
    const piece_sets got = current_sets(), want = sets_from_arrays();
    for (int c = 0; c < 2; c++) {
        EXPECT_EQ(got.pawns[c], want.pawns[c]) << where << " side " << c;
        EXPECT_EQ(got.knights[c], want.knights[c]) << where << " side " << c;
        EXPECT_EQ(got.bishops[c], want.bishops[c]) << where << " side " << c;
        EXPECT_EQ(got.rooks[c], want.rooks[c]) << where << " side " << c;
        EXPECT_EQ(got.queens[c], want.queens[c]) << where << " side " << c;
        EXPECT_EQ(got.occupied[c], want.occupied[c]) << where << " side " << c;
        EXPECT_EQ(got.pieces[c], want.pieces[c]) << where << " side " << c;
        EXPECT_EQ(got.rooksqueens[c], want.rooksqueens[c]) << where << " side " << c;
        EXPECT_EQ(got.bishopsqueens[c], want.bishopsqueens[c]) << where << " side " << c;
        EXPECT_EQ(got.pawn_attacked[c], want.pawn_attacked[c]) << where << " side " << c;
        EXPECT_EQ(got.open_columns[c], want.open_columns[c]) << where << " side " << c;
    }
    EXPECT_EQ(got.all, want.all) << where;
    EXPECT_EQ(got.rotated, want.rotated) << where;
    EXPECT_EQ(got.empty, want.empty) << where;
}

using piece_update = void (*)(int, int, int);

}  // namespace

TEST(PieceSets, StartPosition) {
    init();
    expect_sets_follow_the_board("start");
    EXPECT_EQ(light_pawns, squares("a2 b2 c2 d2 e2 f2 g2 h2"));
    EXPECT_EQ(dark_pawns, squares("a7 b7 c7 d7 e7 f7 g7 h7"));
    EXPECT_EQ(PopCnt(light_occupied), 16);
    EXPECT_EQ(PopCnt(empty_squares), 32);
    EXPECT_EQ(light_pawn_attacked, squares("a3 b3 c3 d3 e3 f3 g3 h3"));
    EXPECT_EQ(dark_pawn_attacked, squares("a6 b6 c6 d6 e6 f6 g6 h6"));
    EXPECT_EQ(light_open_columns, 0u);
    EXPECT_EQ(dark_open_columns, 0u);
    EXPECT_EQ(light_rooksqueens, squares("a1 d1 h1"));
    EXPECT_EQ(dark_bishopsqueens, squares("c8 d8 f8"));
    EXPECT_EQ(light_pieces, squares("a1 b1 c1 d1 e1 f1 g1 h1"));
    EXPECT_EQ(light_king_sq, sq("e1"));
    EXPECT_EQ(dark_king_sq, sq("e8"));
}

TEST(PieceSets, SetUpRebuildsEverySetFromTheBoard) {
    const char* fens[] = {
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N2N2/PP2BPPP/R2QKB1R w KQ - 2 8",
        "8/8/8/8/8/8/8/K6k w - - 0 1",
        "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 b - - 0 1",
        "k7/pppppppp/QQQQQQQQ/8/8/qqqqqqqq/PPPPPPPP/7K w - - 0 1",
    };
    for (const char* fen : fens) {
        spoil_all_sets();
        ASSERT_EQ(process_fen(fen), 1) << fen;
        expect_sets_follow_the_board(fen);
    }
    std::mt19937 rng(1);
    for (int i = 0; i < 200; i++) {
        spoil_all_sets();
        random_position(rng, i % 40);
        expect_sets_follow_the_board("random position " + std::to_string(i));
        if (HasFailure()) break;
    }
}

TEST(PieceSets, FileWithoutOwnPawnIsOpenRightAfterSetUp) {
    ASSERT_EQ(process_fen("rnbqkbnr/pppppppp/8/8/8/8/PPPP1PPP/RNBQKBNR w KQkq - 0 1"), 1);
    EXPECT_EQ(light_open_columns, columnas[4]);
    EXPECT_EQ(dark_open_columns, 0u);
    ASSERT_EQ(process_fen("4k3/8/2p5/8/8/8/7P/4K3 w - - 0 1"), 1);
    EXPECT_EQ(light_open_columns, ~columnas[7]);
    EXPECT_EQ(dark_open_columns, ~columnas[2]);
}

TEST(PawnUpdates, SquareAttackedByTwoPawnsStaysAttackedUntilBothGo) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/3P1P2/8/4K3 w - - 0 1"), 1);
    const BitBoard e4 = bit(sq("e4"));
    ASSERT_TRUE(light_pawn_attacked & e4);
    modif_peon(LIGHT, sq("d3"), 1);
    EXPECT_TRUE(light_pawn_attacked & e4);
    EXPECT_EQ(light_pawn_attacked, squares("e4 g4"));
    modif_peon(LIGHT, sq("f3"), 1);
    EXPECT_EQ(light_pawn_attacked, 0u);

    ASSERT_EQ(process_fen("4k3/8/3p1p2/8/8/8/8/4K3 w - - 0 1"), 1);
    const BitBoard e5 = bit(sq("e5"));
    modif_peon(DARK, sq("f6"), 1);
    EXPECT_TRUE(dark_pawn_attacked & e5);
    EXPECT_EQ(dark_pawn_attacked, squares("c5 e5"));
    modif_peon(DARK, sq("d6"), 1);
    EXPECT_EQ(dark_pawn_attacked, 0u);
}

TEST(PawnUpdates, LastPawnOfAFileOpensItAndANewPawnClosesIt) {
    ASSERT_EQ(process_fen("4k3/8/8/8/3P4/8/3P4/4K3 w - - 0 1"), 1);
    const BitBoard d_file = columnas[3];
    EXPECT_FALSE(light_open_columns & d_file);
    modif_peon(LIGHT, sq("d4"), 1);
    EXPECT_FALSE(light_open_columns & d_file);   // d2 is still there
    modif_peon(LIGHT, sq("d2"), 1);
    EXPECT_EQ(light_open_columns, ~BitBoard{0});
    modif_peon(LIGHT, sq("d5"), 0);
    EXPECT_EQ(light_open_columns, ~d_file);
    EXPECT_EQ(dark_open_columns, ~BitBoard{0});   // the other side's files are untouched
}

// Pawns of both sides come and go at random; after each step the pawn sets,
// their open files and attacked squares must be those that the pawns
// standing at that moment give, and no other set may have moved.
TEST(PawnUpdates, RandomAdditionsAndRemovalsKeepThePawnSetsTrue) {
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> square(8, 55), coin(0, 1);
    for (int game = 0; game < 20; game++) {
        ASSERT_EQ(process_fen(game % 2 ? "4k3/pppppppp/8/8/8/8/PPPPPPPP/4K3 w - - 0 1"
                                       : "4k3/8/8/8/8/8/8/4K3 w - - 0 1"),
                  1);
        for (int step = 0; step < 300; step++) {
            const int c = coin(rng), s = square(rng);
            BitBoard& own = c == LIGHT ? light_pawns : dark_pawns;
            const BitBoard other_pawns = c == LIGHT ? dark_pawns : light_pawns;
            if (other_pawns & bit(s)) continue;   // one man per square
            piece_sets before = current_sets();
            const bool present = (own & bit(s)) != 0;
            modif_peon(c, s, present ? 1 : 0);
            piece_sets after = current_sets();
            ASSERT_EQ(after.pawns[c], before.pawns[c] ^ bit(s)) << game << " " << step;
            ASSERT_EQ(after.open_columns[c], files_without(after.pawns[c])) << game << " " << step;
            ASSERT_EQ(after.pawn_attacked[c], attacked_by_pawns(after.pawns[c], c)) << game << " " << step;
            // Apart from the three pawn sets of the moving side nothing changes.
            after.pawns[c] = before.pawns[c];
            after.open_columns[c] = before.open_columns[c];
            after.pawn_attacked[c] = before.pawn_attacked[c];
            ASSERT_TRUE(after == before) << game << " " << step;
        }
    }
}

TEST(PieceUpdates, AddingSetsRemovingTogglesAndNothingElseMoves) {
    struct kind {
        const char* name;
        piece_update update;
        BitBoard* sets[2];
    };
    const kind kinds[] = {{"knight", modif_caba, {&light_knights, &dark_knights}},
                          {"bishop", modif_alfil, {&light_bishops, &dark_bishops}},
                          {"rook", modif_torre, {&light_rooks, &dark_rooks}},
                          {"queen", modif_dama, {&light_queens, &dark_queens}}};
    for (const kind& k : kinds)
        for (int c = 0; c < 2; c++) {
            init();
            const int s = sq("d4");
            BitBoard& set = *k.sets[c];
            const piece_sets start = current_sets();
            const BitBoard initial = set;
            // Every set but the one of the kind and side is as it was at the start.
            auto others_unchanged = [&] {
                const BitBoard saved = set;
                set = initial;
                const bool same = current_sets() == start;
                set = saved;
                return same;
            };
            k.update(c, s, 0);
            EXPECT_EQ(set, initial | bit(s)) << k.name << " side " << c;
            k.update(c, s, 0);   // adding twice leaves the square set
            EXPECT_EQ(set, initial | bit(s)) << k.name << " side " << c;
            EXPECT_TRUE(others_unchanged()) << k.name << " side " << c;
            k.update(c, s, 1);
            EXPECT_EQ(set, initial) << k.name << " side " << c;
            // Removing from a square without such a man toggles it on: callers
            // only ever remove men that are there.
            k.update(c, s, 1);
            EXPECT_EQ(set, initial | bit(s)) << k.name << " side " << c;
            EXPECT_TRUE(others_unchanged()) << k.name << " side " << c;
            // A man already there: removal clears exactly its square.
            const int home = BBf(initial);
            k.update(c, home, 1);
            EXPECT_EQ(set, (initial | bit(s)) & ~bit(home)) << k.name << " side " << c;
        }
}
