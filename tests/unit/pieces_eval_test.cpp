// Piece placement and king safety: the piece score added up by hand for
// small positions, tropism by distance, development, the king shelter and
// the bare-king drive, and the colour mirror of all of them.
#include "eval/eval.h"
#include "eval/pieces.h"
#include "eval_positions.h"
#include "hash/evalcache.h"
#include <gtest/gtest.h>
#include <string>

using namespace eval_positions;

namespace {

int pieces_of(const char* fen, int endgame = 0) {
    EXPECT_EQ(process_fen(fen), 1) << fen;
    is_endgame = endgame;
    return eval_pieces();
}

}  // namespace

// tropism / (distance + 1): knight 8, bishop 4, rook 2, queen 6.
TEST(PieceEval, TropismFallsWithDistanceToTheEnemyKing) {
    const struct {
        char light, dark;
        int by_distance[7];
    } kinds[] = {
        {'N', 'n', {4, 2, 2, 1, 1, 1, 1}},
        {'B', 'b', {2, 1, 1, 0, 0, 0, 0}},
        {'R', 'r', {1, 0, 0, 0, 0, 0, 0}},
        {'Q', 'q', {3, 2, 1, 1, 1, 0, 0}},
    };
    const char* const a_file[] = {"a2", "a3", "a4", "a5", "a6", "a7", "a8"};
    const char* const h_file[] = {"h7", "h6", "h5", "h4", "h3", "h2", "h1"};
    for (const auto& k : kinds) {
        for (int d = 1; d <= 7; d++) {
            // A light man on a1, the dark king d squares up the a-file.
            std::string men = std::string(1, k.light) + "a1 Kh8 k" + a_file[d - 1];
            ASSERT_EQ(process_fen(fen_of(men, 'b').c_str()), 1) << men;
            EXPECT_EQ(tropismo_light(sq("a1")), k.by_distance[d - 1]) << men;
            // A dark man on h8, the light king d squares down the h-file.
            men = std::string(1, k.dark) + "h8 ka1 K" + h_file[d - 1];
            ASSERT_EQ(process_fen(fen_of(men, 'w').c_str()), 1) << men;
            EXPECT_EQ(tropismo_dark(sq("h8")), k.by_distance[d - 1]) << men;
        }
    }
}

// Kings e1 and e8 in the middle game. Common to both positions: 15 for one
// more light piece, 8 for the knight off rank 1, kings
// 2 * BKA[e8] * 2 - 2 * BKA[e1] * 1 = 16 - 8 = 8, castled-king squares
// +10 - 10 = 0, no rooks on either side +7 - 7 = 0.
TEST(PieceEval, KnightScoresTableTropismAndSquaresNextToTheKing) {
    // Knight e4: table 10, tropism 8 / (4 + 1) = 1, none of d6 f6 c5 g5 c3
    // g3 d2 f2 is next to e8: 11. Total 15 + 8 + 11 + 8 = 42.
    EXPECT_EQ(pieces_of("4k3/8/8/8/4N3/8/8/4K3 w - - 0 1"), 42);
    EXPECT_EQ(tropismo_light(sq("e4")), 1);
    // Knight f5: table 8, tropism 8 / (3 + 1) = 2, e7 is next to e8: 5.
    // Total 15 + 8 + 15 + 8 = 46.
    EXPECT_EQ(pieces_of("4k3/8/8/5N2/8/8/8/4K3 w - - 0 1"), 46);
}

// The light queen with the dark king on d8 (dark to move: the queen gives
// check). One more light piece 15; kings 2 * 4 * 2 - 2 * 4 * 1 = 8; light
// king on e1 -10.
TEST(PieceEval, QueenCollectsBishopTableTwoTropismsAndTen) {
    // d1: bishop table -8, tropism 6 / (7 + 1) = 0 twice, 10: 2 in all.
    // Not developed. 15 + 2 + 8 - 10 = 15.
    EXPECT_EQ(pieces_of("3k4/8/8/8/8/8/8/3QK3 b - - 0 1"), 15);
    // d2: table 2, tropism 6 / 7 = 0 twice, 10: 12; developed 3.
    // 15 + 3 + 12 + 8 - 10 = 28.
    EXPECT_EQ(pieces_of("3k4/8/8/8/8/8/3Q4/4K3 b - - 0 1"), 28);
}

// Minor pieces off their first rank count 8 (knight) and 6 (bishop) for
// either side; a light queen off rank 1 counts 3, a dark one off rank 8 only 2.
TEST(PieceEval, DevelopmentCountsTheQueensUnevenly) {
    ASSERT_EQ(process_fen(START_FEN), 1);
    EXPECT_EQ(develop_index(), 0);
    ASSERT_EQ(process_fen("r3k2r/3q4/2n5/2b5/2B5/2N5/3Q4/R3K2R w - - 0 1"), 1);
    EXPECT_EQ(develop_index(), 8 + 6 + 3 - 8 - 6 - 2);
    ASSERT_EQ(process_fen("3qk3/8/8/8/8/8/3Q4/4K3 b - - 0 1"), 1);
    EXPECT_EQ(develop_index(), 3);
    ASSERT_EQ(process_fen("4k3/3q4/8/8/8/8/8/3QK3 w - - 0 1"), 1);
    EXPECT_EQ(develop_index(), -2);
    ASSERT_EQ(process_fen("1n2k1n1/8/8/8/8/8/8/1N2K1N1 w - - 0 1"), 1);
    EXPECT_EQ(develop_index(), 0);
}

// Kings g1 and g8 with a light knight on c3 in the middle game:
//   one more piece 15, development 8, knight c3: table 15 + tropism
//   8 / (5 + 1) = 1, no square next to g8: 16; kings
//   2 * BKA[g8] * 2 - 2 * BKA[g1] * 1 = 8 - 4 = 4 (BKA 2 for both);
//   dark king on g8 +10, light king on g1 -10. Total 43.
// With the kings on e1 and e8 (BKA 4): 8 for the kings, 47.
TEST(PieceEval, CastledKingsCancelAndCentralKingsPayPerEnemyPiece) {
    EXPECT_EQ(pieces_of("6k1/8/8/8/8/2N5/8/6K1 w - - 0 1"), 43);
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/2N5/8/4K3 w - - 0 1"), 47);
}

// Light: king g1, rook h1, pawns f2 and h2; dark: king e8, bishop c8.
// Pieces: dark has no rook +7; 2 pieces each 0; rook h1 tropism 0 + 10;
// dark bishop c8 reads bishop_pcsq[c1] = -8 (so +8), no light rook on its
// diagonals, tropism 4 / 8 = 0; kings 2 * 4 * 2 - 2 * 2 * 2 = 8; rook in the
// h1 corner -3; rook shut in by the king on g1 -25; kings e8 +10, g1 -10.
// 7 + 10 + 8 + 8 - 3 - 25 = 5.
TEST(PieceEval, RookShutInByItsKing) {
    EXPECT_EQ(pieces_of("2b1k3/8/8/8/8/8/5P1P/6KR w - - 0 1"), 5);
    // Queen side. Rook a1 and king c1: dark has no rook 7; one more piece
    // 15; rook 10; kings 2 * 4 * 2 - 2 * 4 * 1 = 8; corner -3; shut in -25;
    // dark king e8 +10 (c1 is no castled square for light): 22.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/R1K5 w - - 0 1"), 22);
    // The king on e1 shuts nothing in; e1 costs 10 against e8's 10: 37.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/R3K3 w - - 0 1"), 37);
}

// A light rook alone in the middle game, kings e1 and e8: dark has no rook
// 7; one more piece 15; rook 10 (tropism 2 / 8 = 0); kings 16 - 8 = 8;
// castled-king squares 0. On d1 a central file +4: 44; on b1, next to the
// a1 corner, -3: 37.
TEST(PieceEval, RookFilesInTheMiddleGame) {
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/3RK3 w - - 0 1"), 44);
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/1R2K3 w - - 0 1"), 37);
    // In the endgame neither counts: dark has no rook 7, rook 10, kings
    // 2 * 4 - 2 * 4 = 0, dark bare king 10.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/3RK3 w - - 0 1", 1), 27);
    is_endgame = 0;
}

// Light rooks a7 and b7, kings e1 and h8:
//   dark has no rook 7; two more pieces 30; rooks 10 + 10 (tropism 2 / 8
//   and 2 / 7 = 0); kings 2 * BKA[h8] * 3 - 2 * BKA[e1] * 1 = 12 - 8 = 4;
//   two rooks on the seventh 60 and doubled there 15; both next to the a8
//   corner -6; light king e1 -10. Total 120.
TEST(PieceEval, RooksOnTheSeventhAndDoubled) {
    EXPECT_EQ(pieces_of("7k/RR6/8/8/8/8/8/4K3 w - - 0 1"), 120);
}

// Light king on a8 behind its pawns a7 and b7, dark rook h1, dark king d4:
//   light has no rook -7; one piece less -15; dark rook -(0 + 10); kings
//   2 * BKA[d4] * 1 - 2 * BKA[a8] * 2 = 18 - 8 = 10; dark rook on light's
//   first rank -24; in the h1 corner +3; light king without a flight square
//   on the seventh rank -15. Total -58; with b7 empty (pawn on b6) -43.
TEST(PieceEval, KingOnTheEnemyBackRankWithoutAFlightSquare) {
    EXPECT_EQ(pieces_of("K7/PP6/8/8/3k4/8/8/7r w - - 0 1"), -58);
    EXPECT_EQ(pieces_of("K7/P7/1P6/8/3k4/8/8/7r w - - 0 1"), -43);
}

// Light bishop g1 sees the dark rook a7 along its diagonal:
//   dark rook, no light rook -7; 2 pieces each 0; bishop: table -8, one
//   dark rook on its diagonals +1, tropism 4 / 8 = 0; dark rook -(0 + 10);
//   kings 2 * 4 * 2 - 2 * 4 * 2 = 0; dark rook next to the a8 corner +3;
//   kings e8 +10, e1 -10. Total -21.
TEST(PieceEval, BishopCountsEnemyRooksOnItsDiagonals) {
    EXPECT_EQ(pieces_of("4k3/r7/8/8/8/8/8/4K1B1 w - - 0 1"), -21);
    // A queen does not count them. Queen d1 with the dark rook on a4: light
    // has no rook -7; 2 pieces each 0; queen: table -8, tropism 6 / 8 = 0,
    // no rook count, 10; dark rook -(0 + 10); kings 16 - 16 = 0; kings e8
    // +10, e1 -10. Total -15.
    EXPECT_EQ(pieces_of("4k3/8/8/8/r7/8/8/3QK3 w - - 0 1"), -15);
}

// Light: king e1, queen d1, bishops c1 and f1, knight b1; dark: bare king e8.
//   4 more pieces 60; nothing developed; knight b1: table -10 + tropism 1:
//   -9; bishops and queen: table -8 each, tropism 0: -24; queen 10;
//   kings 2 * 4 * 5 - 2 * 4 * 1 = 32; bishop pair 25; queen with knight 10;
//   kings e8 +10, e1 -10. Total 104.
TEST(PieceEval, BishopPairAndQueenWithKnight) {
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/1NBQKB2 w - - 0 1"), 104);
    // Two queens (d1, f1) and the knight b1: no bonus for the pair.
    //   3 more pieces 45; knight -9; queens -8 - 8 on the table, 10 + 10;
    //   kings 2 * 4 * 4 - 2 * 4 * 1 = 24; kings e8 +10, e1 -10. Total 64.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/1N1QKQ2 w - - 0 1"), 64);
}

// In the endgame the kings want the centre and a side left with king and
// knights only pays 10 (a bare king too). Knight c3: development 8, 16 as
// above; light king and knight -10; dark bare king +10.
TEST(PieceEval, EndgameRewardsCentralKingsAndPunishesKnightsOnly) {
    // Kings e1, e8: 2 * 4 - 2 * 4 = 0. Total 24.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/2N5/8/4K3 w - - 0 1", 1), 24);
    // King d4: 2 * 9 - 2 * 4 = 10. Total 34.
    EXPECT_EQ(pieces_of("4k3/8/8/8/3K4/2N5/8/8 w - - 0 1", 1), 34);
    // Rook a1 instead: dark has no rook 7; rook 10; dark bare king +10: 27.
    EXPECT_EQ(pieces_of("4k3/8/8/8/8/8/8/R3K3 w - - 0 1", 1), 27);
    is_endgame = 0;
}

// The knight table is not symmetric left to right: h1 is 0 where a1 and g1
// are -20; a dark knight reads the flipped square, h8 as h1.
TEST(PieceEval, KnightTableCornerG1H1) {
    // Light king e1, dark king a8: one more piece 15, kings 2 * 2 * 2 -
    // 2 * 4 * 1 = 0, light king e1 -10; the knight's tropism 8 / 8 = 1.
    EXPECT_EQ(pieces_of("k7/8/8/8/8/8/8/4K2N w - - 0 1"), 15 + (0 + 1) - 10);
    EXPECT_EQ(pieces_of("k7/8/8/8/8/8/8/4K1N1 w - - 0 1"), 15 + (-20 + 1) - 10);
    EXPECT_EQ(pieces_of("k7/8/8/8/8/8/8/N3K3 w - - 0 1"), 15 + (-20 + 1) - 10);
    // Dark king e8, light king a1: one piece less -15, kings 0, dark king e8 +10.
    EXPECT_EQ(pieces_of("4k2n/8/8/8/8/8/8/K7 w - - 0 1"), -15 - (0 + 1) + 10);
    EXPECT_EQ(pieces_of("4k1n1/8/8/8/8/8/8/K7 w - - 0 1"), -15 - (-20 + 1) + 10);
    is_endgame = 0;
}

// Light king g1 in the middle game, dark without a queen (+8), rook or queen.
TEST(PieceEval, KingShelterCountsShieldStormAndFianchettoHole) {
    // Pawns f2 and h2, g2 missing: shield f2, h2 in the king area 3 * 2 and
    // next to the king 8 * 2: 8 + 6 + 16 = 30, less 12 for the hole when
    // light has no light-squared bishop, 12 more when dark has one (c8).
    ASSERT_EQ(process_fen("2b1k3/8/8/8/8/8/5P1P/6KR w - - 0 1"), 1);
    is_endgame = 0;
    EXPECT_EQ(eval_light_king(light_king_sq), 6);
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/5P1P/6KR w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 18);
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/4BP1P/6KR w - - 0 1"), 1);   // e2 is a light square
    EXPECT_EQ(eval_light_king(light_king_sq), 30);
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/3B1P1P/6KR w - - 0 1"), 1);   // d2 is a dark square
    EXPECT_EQ(eval_light_king(light_king_sq), 18);
    // With g2: 8 + 3 * 3 + 8 * 3 = 41.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/5PPP/6K1 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 41);
    // Dark h3 in the king area ahead: 8 + 9 - 15 + 24 = 26.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/7p/5PPP/6K1 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 26);
    // Dark h2 next to the king: 8 + 6 - 15 - 18 + 16 = -3.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/5PPp/6K1 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), -3);
    // King g3 in front of its pawns f2 g2 h2: nothing ahead -40, but the
    // three pawns next to it count all the same: 8 + 24 - 40 = -8.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/6K1/5PPP/8 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), -8);
    // A dark queen: no +8, and f1 g1 h1 lie on files without dark pawns:
    // 9 + 24 - 3 * 10 = 3.
    ASSERT_EQ(process_fen("3qk3/8/8/8/8/8/5PPP/6K1 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 3);
}

// Light king e1 against a dark rook.
TEST(PieceEval, KingShelterCountsOpenFilesAgainstHeavyPieces) {
    // No pawns at all: 8, none ahead -40, d1 e1 f1 open for both sides
    // -10 * 3 - 18 * 3. Total -116.
    ASSERT_EQ(process_fen("4k3/8/8/8/8/8/8/4K2r w - - 0 1"), 1);
    is_endgame = 0;
    EXPECT_EQ(eval_light_king(light_king_sq), -116);
    // Light e2, dark d7: 8 + 3 (e2 in the area) + 8 (next to the king);
    // d1: no light pawn -18; e1: no dark pawn -10; f1: -10 - 18. Total -37.
    ASSERT_EQ(process_fen("4k3/3p4/8/8/8/8/4P3/4K2r w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), -37);
}

// In the endgame a king scores only against a bare enemy king:
// 20 / (distance + 1) - 3 * BKA[bare king].
TEST(PieceEval, EndgameDrivesTheBareKingToTheEdge) {
    ASSERT_EQ(process_fen("8/8/8/4k3/8/4K3/8/R7 w - - 0 1"), 1);
    is_endgame = 1;
    EXPECT_EQ(eval_light_king(light_king_sq), 20 / 3 - 27);   // -21
    EXPECT_EQ(eval_dark_king(dark_king_sq), 0);               // light is not bare
    // Dark king a8 in the corner, light king c7: 20 / 3 - 3 * 2 = 0.
    ASSERT_EQ(process_fen("k7/2K5/8/8/8/8/8/R7 b - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 0);
    // A dark pawn: dark is not bare.
    ASSERT_EQ(process_fen("8/8/8/4k3/4p3/4K3/8/R7 w - - 0 1"), 1);
    EXPECT_EQ(eval_light_king(light_king_sq), 0);
    // The dark king's view of a bare light king on e4, dark king e6: -21.
    ASSERT_EQ(process_fen("r7/8/4k3/8/4K3/8/8/8 b - - 0 1"), 1);
    EXPECT_EQ(eval_dark_king(dark_king_sq), -21);
    EXPECT_EQ(eval_light_king(light_king_sq), 0);
    is_endgame = 0;
}

// Colour for colour, the piece score turns its sign and the two king terms
// change places. Queens stay on their first rank (development counts them
// unevenly).
TEST(PieceEval, MirroredPositionTurnsThePieceScoreRound) {
    const char* const fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/2N2N2/PPPP1PPP/R1BQK2R w KQkq - 4 5",
        "2b1k3/8/8/8/8/8/5P1P/6KR w - - 0 1",
        "7k/RR6/8/8/8/8/8/4K3 w - - 0 1",
        "K7/PP6/8/8/3k4/8/8/7r w - - 0 1",
        "K7/P7/1P6/8/3k4/8/8/7r w - - 0 1",
        "4k3/r7/8/8/8/8/8/4K1B1 w - - 0 1",
        "8/8/8/4k3/8/4K3/8/R7 w - - 0 1",
        "1r4k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1",
        "3qk2r/pp3ppp/8/8/8/8/PP3P1P/3QK2R w Kk - 0 1",
        "r4rk1/pp3p1p/2n3p1/8/3N4/6P1/PP3P1P/R4RK1 w - - 0 1",
        "1k1r4/pp6/8/8/8/8/5B2/2R3K1 w - - 0 1",
    };
    for (const char* fen : fens) {
        for (int phase = 0; phase < 2; phase++) {
            ASSERT_EQ(process_fen(fen), 1) << fen;
            is_endgame = phase;
            const int pieces = eval_pieces(), develop = develop_index();
            const int light_king = eval_light_king(light_king_sq), dark_king = eval_dark_king(dark_king_sq);
            const std::string mirrored = mirror_fen(fen);
            ASSERT_EQ(process_fen(mirrored.c_str()), 1) << mirrored;
            EXPECT_EQ(eval_pieces(), -pieces) << fen << " phase " << phase;
            EXPECT_EQ(develop_index(), -develop) << fen;
            EXPECT_EQ(eval_dark_king(dark_king_sq), light_king) << fen << " phase " << phase;
            EXPECT_EQ(eval_light_king(light_king_sq), dark_king) << fen << " phase " << phase;
        }
    }
    is_endgame = 0;
}
