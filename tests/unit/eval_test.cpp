// The evaluation driver: material, the game phase, connected rooks, the
// castling-loss term, the late piece terms, the lazy exit at its margin,
// and the side-to-move view under the colour mirror.
#include "eval/endings.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "eval_positions.h"
#include "bitboard/pieces.h"
#include "moves/attack.h"
#include "moves/gen.h"
#include "moves/make.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

using namespace eval_positions;

namespace {

constexpr int WIDE = 100000;   // no lazy exit inside this window

// The light-positive sum that eval has before its late terms: kings,
// material, pawns, pieces, the pawn ending, the castling loss and the pins.
int sum_before_late_terms() {
    int s = eval_light_king(light_king_sq) + material_balance - eval_dark_king(dark_king_sq) + eval_pawns() +
            eval_pieces();
    if (is_endgame) s += eval_pawn_ending();
    return s + CastleEval() + PinCalc();
}

// What the late terms (bishops, rooks, knights) add, light-positive.
int late_terms(const char* fen) {
    EXPECT_EQ(process_fen(fen), 1) << fen;
    is_endgame = 0;
    const int e = eval(-WIDE, WIDE);
    return (side == LIGHT ? e : -e) - sum_before_late_terms();
}

}  // namespace

TEST(Material, PieceValuesAndBalanceFromSetUp) {
    const int values[6] = {100, 305, 315, 500, 900, 10000};
    for (int p = PAWN; p <= KING; p++) EXPECT_EQ(piece_value[p], values[p]);
    ASSERT_EQ(process_fen(START_FEN), 1);
    EXPECT_EQ(material_balance, 0);
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), 1);
    EXPECT_EQ(material_balance, 500);
    ASSERT_EQ(process_fen("3qk3/pp6/8/8/8/8/8/RN2K3 w - - 0 1"), 1);
    EXPECT_EQ(material_balance, 500 + 305 - 900 - 200);
}

TEST(ConnectedRooks, TwoRooksOnOneLineWithNothingBetween) {
    const struct {
        const char* fen;
        int light, dark;
    } cases[] = {
        {"4k3/8/8/8/8/3K4/8/R6R w - - 0 1", 1, 0},   // a1 h1, b1 to g1 empty
        {"4k3/8/8/8/8/3K4/8/R2N3R w - - 0 1", 0, 0},  // a light knight on d1
        {"4k3/8/8/8/8/3K4/8/R2n3R w - - 0 1", 0, 0},  // a dark knight on d1
        {"4k3/8/8/8/8/3K4/1R6/R7 w - - 0 1", 0, 0},   // a1 b2: a diagonal is no line
        {"4k3/8/8/8/8/3K4/8/RR6 w - - 0 1", 1, 0},    // side by side
        {"4k3/R7/8/8/8/3K4/8/R7 w - - 0 1", 1, 0},    // a1 a7 on the file
        {"4k3/8/8/8/8/3K4/8/RR5R w - - 0 1", 0, 0},   // three rooks
        {"4k3/8/8/8/8/3K4/8/R7 w - - 0 1", 0, 0},     // one rook
        {"r6r/4k3/8/8/8/8/8/4K3 w - - 0 1", 0, 1},    // dark a8 h8
    };
    for (const auto& c : cases) {
        ASSERT_EQ(process_fen(c.fen), 1) << c.fen;
        EXPECT_EQ(connected_rooks(light_rooks), c.light) << c.fen;
        EXPECT_EQ(connected_rooks(dark_rooks), c.dark) << c.fen;
    }
}

// The phase follows the pieces (king included) of the side the engine does
// not play: at most three is the endgame.
TEST(GamePhase, CountsThePiecesOfTheSideTheEngineDoesNotPlay) {
    const char* const light_qrk = "rn2k2r/pppppppp/8/8/8/8/8/3QK2R w - - 0 1";
    const char* const light_nqrk = "rn2k2r/pppppppp/8/8/8/8/8/1N1QK2R w - - 0 1";
    const char* const dark_rkr = "r3k2r/8/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1";
    is_endgame = 0;

    ASSERT_EQ(process_fen(light_qrk), 1);
    computer_side = DARK;
    EXPECT_EQ(endgame(), 1);   // queen, rook, king
    computer_side = LIGHT;
    EXPECT_EQ(endgame(), 0);   // dark: two rooks, knight, king
    computer_side = EMPTY;
    EXPECT_EQ(endgame(), 1);   // nobody's engine: light's pieces count

    ASSERT_EQ(process_fen(light_nqrk), 1);
    computer_side = DARK;
    EXPECT_EQ(endgame(), 0);   // a fourth piece
    computer_side = EMPTY;
    EXPECT_EQ(endgame(), 0);

    ASSERT_EQ(process_fen(dark_rkr), 1);
    computer_side = LIGHT;
    EXPECT_EQ(endgame(), 1);   // rook, rook, king
    computer_side = DARK;
    EXPECT_EQ(endgame(), 0);
    computer_side = EMPTY;
}

// Light to move, rook a1 against the bare king e8, endgame phase:
//   light king drive 20 / (7 + 1) - 3 * BKA[e8] = 2 - 12 = -10; material
//   500; dark king 0 (light is not bare); no pawns 0; pieces 27 (dark has
//   no rook 7, rook 10, dark bare king 10); no pawn ending; no castling
//   loss at ply 0. Partial score 517.
//   Late: no pins; the rook on a file without any pawn 6 + 10. Total 533.
TEST(Eval, WholeScoreAndSideToMoveView) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), 1);
    is_endgame = 1;
    EXPECT_EQ(eval(-10000, 10000), 533);
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 b - - 0 1"), 1);
    is_endgame = 1;
    EXPECT_EQ(eval(-10000, 10000), -533);
    is_endgame = 0;
}

// The same position: the partial score is 517 light-positive, the full
// score 533. The lazy exit returns the partial score when it is more than
// 180 above beta or below alpha, seen from the side to move.
TEST(Eval, LazyExitAtItsMarginForBothSides) {
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), 1);
    is_endgame = 1;
    // Light to move: view 517.
    EXPECT_EQ(eval(-WIDE, 337), 533);   // 517 == beta + 180: no exit
    EXPECT_EQ(eval(-WIDE, 336), 517);   // 517 > beta + 180
    EXPECT_EQ(eval(697, WIDE), 533);    // 517 == alpha - 180: no exit
    EXPECT_EQ(eval(698, WIDE), 517);    // 517 < alpha - 180
    EXPECT_EQ(eval(697, 698), 533);
    EXPECT_EQ(eval(336, 337), 533);

    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/R3K3 b - - 0 1"), 1);
    is_endgame = 1;
    // Dark to move: view -517.
    EXPECT_EQ(eval(-WIDE, -697), -533);   // -517 == beta + 180: no exit
    EXPECT_EQ(eval(-WIDE, -698), -517);   // -517 > beta + 180
    EXPECT_EQ(eval(-337, WIDE), -533);    // -517 == alpha - 180: no exit
    EXPECT_EQ(eval(-336, WIDE), -517);    // -517 < alpha - 180
    EXPECT_EQ(eval(-698, -697), -533);
    EXPECT_EQ(eval(-337, -336), -533);
    is_endgame = 0;
}

// Light king f1, rook h1, pawn b5; dark king a8, knight h8; endgame phase.
//   King terms 0 (neither side is bare). Material 500 + 100 - 305 = 295.
//   Pawns: no dark pawns 15, control 6 (a6, c6), colour balance 2, chain
//   space 4 * 4 = 16, passed on the 5th 10 doubled 20, isolated -6, islands
//   3 * (0 - 8) = -24, backward and unsupported on a file without dark
//   pawns -29: 0.
//   Pieces: dark has no rook 7; rook 10 (tropism 2 / 8 = 0); the knight on
//   h8 reads the h1 entry 0, tropism 8 / 8 = 1: -1; kings
//   2 * BKA[f1] - 2 * BKA[a8] = 8 - 4 = 4; dark king and knight only +10;
//   rook shut in by the king on f1 -25: 5.
//   No pawn ending, no castling loss. Partial 300.
//   Late: the rook on the pawnless h-file 16. Full 316.
TEST(Eval, LazyExitReturnsThePartialScoreFarOutsideTheWindow) {
    ASSERT_EQ(process_fen("k6n/8/8/1P6/8/8/8/5K1R w - - 0 1"), 1);
    is_endgame = 1;
    EXPECT_EQ(eval(-100, 100), 300);   // 300 > 100 + 180
    EXPECT_EQ(eval(-10000, 10000), 316);
    ASSERT_EQ(process_fen("k6n/8/8/1P6/8/8/8/5K1R b - - 0 1"), 1);
    is_endgame = 1;
    EXPECT_EQ(eval(-100, 100), -300);   // -300 < -100 - 180
    EXPECT_EQ(eval(-10000, 10000), -316);
    is_endgame = 0;
}

// The late terms, light-positive, on top of everything before them.
TEST(Eval, LateRookTerms) {
    // a1 and h1 joined along the first rank: 15 (their files hold light pawns).
    EXPECT_EQ(late_terms("4k3/p6p/8/8/8/3K4/P6P/R6R w - - 0 1"), 15);
    // A knight between them on d1: nothing (it stands on no square a dark
    // pawn attacks).
    EXPECT_EQ(late_terms("4k3/p6p/8/8/8/3K4/P6P/R2N3R w - - 0 1"), 0);
    // a1 and b2 are never joined; b2 stands on a file without pawns: 6 + 10.
    EXPECT_EQ(late_terms("4k3/p6p/8/8/8/3K4/PR5P/R7 w - - 0 1"), 16);
    // A rook on d1: open file 16; only a dark pawn on the file 6; a light one 0.
    EXPECT_EQ(late_terms("4k3/8/8/8/8/8/8/3RK3 w - - 0 1"), 16);
    EXPECT_EQ(late_terms("4k3/3p4/8/8/8/8/8/3RK3 w - - 0 1"), 6);
    EXPECT_EQ(late_terms("4k3/8/8/8/8/8/3P4/3RK3 w - - 0 1"), 0);
    // Dark rooks a8 and h8 joined, on files holding light pawns only:
    // -(15 + 6 + 6); with dark pawns on those files as well, only -15.
    EXPECT_EQ(late_terms("r6r/4k3/8/8/8/8/P6P/4K3 w - - 0 1"), -27);
    EXPECT_EQ(late_terms("r6r/p3k2p/8/8/8/8/P6P/4K3 w - - 0 1"), -15);
}

TEST(Eval, LateBishopAndKnightTerms) {
    // Bishop c1 with pawns on b2 and d2: a man on a neighbouring diagonal
    // square 5, three own men on its diagonals (b2, d2 and itself) 6.
    EXPECT_EQ(late_terms("4k3/8/8/8/8/8/1P1P4/2B1K3 w - - 0 1"), -11);
    // Bishop d3 in front of its own pawn d2: 9, and itself on its diagonals 2.
    EXPECT_EQ(late_terms("4k3/8/8/8/8/3B4/3P4/4K3 w - - 0 1"), -11);
    // The dark bishop d6 in front of the dark pawn d7 (which lies further
    // up the board in square numbers): 9 + 2, charged to dark.
    EXPECT_EQ(late_terms("4k3/3p4/3b4/8/8/8/8/4K3 w - - 0 1"), 11);
    // Knight e4: d6 and f6 are attacked by the dark pawn e7: 2 * 2.
    EXPECT_EQ(late_terms("4k3/4p3/8/8/4N3/8/8/4K3 w - - 0 1"), -4);
    // Dark knight e5 with a light pawn on e2 (d3, f3): +4.
    EXPECT_EQ(late_terms("4k3/8/8/4n3/8/8/4P3/4K3 w - - 0 1"), 4);
}

// The pins of the light bishop b5 are added before the late terms and
// skipped by the lazy exit: the knight on c6 is pinned to the king e8.
TEST(Eval, PinsAreAddedAfterTheLazyExit) {
    ASSERT_EQ(process_fen("4k3/8/2n5/1B6/8/8/8/4K3 w - - 0 1"), 1);
    is_endgame = 0;
    EXPECT_EQ(PinCalc(), 15);
    const int full = eval(-WIDE, WIDE);
    const int partial = sum_before_late_terms() - PinCalc();
    // In full: the pin 15 and the bishop on its own diagonal -2.
    EXPECT_EQ(full, partial + 15 - 2);
    // Beta far enough below the partial score: neither is counted.
    EXPECT_EQ(eval(-WIDE, partial - 181), partial);
}

// The castling-loss term looks at the undo records four and more plies
// below the root: the opponent of the side to move had castling rights
// before its move three plies back, has none before its last move, and
// did not castle three plies back.
TEST(CastleEval, ChargesASideThatGaveUpCastlingWithoutCastling) {
    const char* const root = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    ASSERT_EQ(process_fen(root), 1);
    is_endgame = 0;
    const int at_root = eval(-WIDE, WIDE);
    EXPECT_EQ(CastleEval(), 0);

    // Dark's king steps out and back: +20 for light, to move at ply 4.
    for (const char* m : {"a1a2", "e8e7", "a2a1", "e7e8"}) ASSERT_EQ(play(m), 1) << m;
    ASSERT_EQ(ply, 4);
    EXPECT_EQ(CastleEval(), 20);
    EXPECT_EQ(eval(-WIDE, WIDE), at_root + 20);   // same men, same squares
    for (int i = 0; i < 4; i++) takeback();

    // Dark castles: no charge.
    for (const char* m : {"a1a2", "e8g8", "a2a1", "g8g7"}) ASSERT_EQ(play(m), 1) << m;
    EXPECT_EQ(CastleEval(), 0);
    for (int i = 0; i < 4; i++) takeback();

    // Dark gives up its rights one at a time: while the move three plies
    // back still had the king-side right in hand, as it did before h8g8,
    // there is nothing; two plies later there is.
    for (const char* m : {"a1a2", "a8b8", "a2a1", "h8g8"}) ASSERT_EQ(play(m), 1) << m;
    EXPECT_EQ(CastleEval(), 0);
    for (const char* m : {"a1a2", "g8h8"}) ASSERT_EQ(play(m), 1) << m;
    ASSERT_EQ(ply, 6);
    EXPECT_EQ(CastleEval(), 20);
    for (int i = 0; i < 6; i++) takeback();
    EXPECT_EQ(ply, 0);

    // Light's king: only three plies down, nothing yet.
    for (const char* m : {"e1e2", "a8a7", "e2e1"}) ASSERT_EQ(play(m), 1) << m;
    EXPECT_EQ(CastleEval(), 0);
    for (int i = 0; i < 3; i++) takeback();

    // Dark without rights from the start: nothing to lose.
    ASSERT_EQ(process_fen("r3k2r/8/8/8/8/8/8/R3K2R w KQ - 0 1"), 1);
    for (const char* m : {"a1a2", "e8e7", "a2a1", "e7e8"}) ASSERT_EQ(play(m), 1) << m;
    EXPECT_EQ(CastleEval(), 0);
    for (int i = 0; i < 4; i++) takeback();
}

TEST(CastleEval, ChargesLightWithDarkToMove) {
    ASSERT_EQ(process_fen("r3k2r/8/8/8/8/8/8/R3K2R b KQkq - 0 1"), 1);
    is_endgame = 0;
    for (const char* m : {"a8a7", "e1e2", "a7a8", "e2e1"}) ASSERT_EQ(play(m), 1) << m;
    ASSERT_EQ(ply, 4);
    EXPECT_EQ(side, DARK);
    EXPECT_EQ(CastleEval(), -20);   // light-positive: +20 for dark
    for (int i = 0; i < 4; i++) takeback();
}

// Colour for colour with the other side to move, eval (in the side to
// move's view) gives the same number, in either phase and whether or not
// the lazy exit is taken. The positions avoid what is uneven on purpose:
// queens off their first rank, light pawns on d5 e5 d7 e7, dark pawns on
// d4 e4 d2 e2, and edge pawns or kings two ranks apart in pawn endings.
TEST(Eval, MirroredPositionScoresTheSameForTheSideToMove) {
    const char* const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq - 4 5",
        "r2qk2r/ppp2ppp/2np1n2/1B2p3/4P1b1/2NP1N2/PPP2PPP/R2QK2R w KQkq - 0 1",
        "r4rk1/pp3p1p/2n3p1/8/3N4/6P1/PP3P1P/R4RK1 w - - 0 1",
        "1k1r4/pp6/8/8/8/8/5B2/2R3K1 w - - 0 1",
        "8/5k2/8/1p1p4/1P6/4K3/5P2/8 w - - 0 1",
        "8/8/8/4k3/8/4K3/8/R7 w - - 0 1",
        "3qk2r/pp3ppp/8/8/8/8/PP3P1P/3QK2R w Kk - 0 1",
        "4k3/3p4/3b4/1n6/8/3B4/3P4/1N2K3 w - - 0 1",
        "2b1k3/8/8/8/8/8/5P1P/6KR b - - 0 1",
        "4k3/8/8/8/8/2N5/8/4K3 w - - 0 1",
    };
    for (const char* fen : fens) {
        const std::string mirrored = mirror_fen(fen);
        for (int phase = 0; phase < 2; phase++) {
            ASSERT_EQ(process_fen(fen), 1) << fen;
            is_endgame = phase;
            const int full = eval(-WIDE, WIDE), narrow = eval(-1, 1);
            ASSERT_EQ(process_fen(mirrored.c_str()), 1) << mirrored;
            EXPECT_EQ(eval(-WIDE, WIDE), full) << fen << " phase " << phase;
            EXPECT_EQ(eval(-1, 1), narrow) << fen << " phase " << phase;
        }
    }
    is_endgame = 0;
}

// The evaluation reads only the board and the sets that making a move keeps
// up to date: after a stretch of moves played as at the console (each one
// made at ply 0), every phase gives the same score as the same position set
// up afresh from its FEN text.
TEST(Eval, SameScoreAfterMovesAsFromAFreshSetUp) {
    const char* const starts[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k3/1P4P1/8/8/8/8/1p4p1/R3K3 w Qq - 0 1",
    };
    std::mt19937 rng(20240611);
    int made_in_all = 0;
    for (const char* start : starts) {
        ASSERT_EQ(process_fen(start), 1) << start;
        for (int stretch = 0; stretch < 8; stretch++) {
            // Ten random legal moves, or fewer if the game ends.
            for (int n = 0; n < 10; n++) {
                Move2Gen();
                std::vector<move_bytes> moves;
                for (int i = gen_begin[0]; i < gen_end[0]; i++) moves.push_back(gen_dat[i].m);
                std::shuffle(moves.begin(), moves.end(), rng);
                bool made = false;
                for (move_bytes m : moves)
                    if (makemove(m)) {
                        made = true;
                        break;
                    }
                if (!made) break;
                made_in_all++;
                ply = 0;
            }
            int played[2];
            for (int phase = 0; phase < 2; phase++) {
                is_endgame = phase;
                played[phase] = eval(-WIDE, WIDE);
            }
            char text[FEN_TEXT_SIZE];
            fen_display(text);
            const std::string fen = std::string(text) + " 0 1";
            ASSERT_EQ(process_fen(fen.c_str()), 1) << fen;
            for (int phase = 0; phase < 2; phase++) {
                is_endgame = phase;
                EXPECT_EQ(eval(-WIDE, WIDE), played[phase]) << fen << " phase " << phase;
            }
        }
    }
    EXPECT_GT(made_in_all, 250);   // 320 unless games ended early
    is_endgame = 0;
}
