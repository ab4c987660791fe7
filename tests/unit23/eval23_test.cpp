// Edition 2.3's evaluation: whole positions scored by hand, term by term,
// through eval() itself. Positions are placed straight into the board
// arrays; the kings stand on e1 and e8 unless a test is about them.
#include "board/position.h"
#include "eval/eval.h"
#include "search/state.h"
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace {

int sq(const char* name) { return (name[0] - 'a') + ('8' - name[1]) * 8; }

// Places the men listed as "Ke1 Ra1 ke8 pe7" (upper case light, lower case
// dark) on an otherwise empty board, with `to_move` ('w' or 'b') to move.
void place(const std::string& men, char to_move = 'w') {
    for (int i = 0; i < 64; i++) {
        color[i] = EMPTY;
        piece[i] = EMPTY;
    }
    const std::string kinds = "pnbrqk";
    std::istringstream in(men);
    std::string word;
    while (in >> word) {
        const int at = sq(word.c_str() + 1);
        const bool light = word[0] >= 'A' && word[0] <= 'Z';
        color[at] = light ? LIGHT : DARK;
        piece[at] = int(kinds.find(char(light ? word[0] + 32 : word[0])));
        if (piece[at] == KING) (light ? light_king_sq : dark_king_sq) = at;
    }
    side = to_move == 'w' ? LIGHT : DARK;
    xside = 1 - side;
}

int score(const std::string& men, char to_move = 'w') {
    place(men, to_move);
    return eval(-11000, 11000);
}

const char* const START =
    "ra8 nb8 bc8 qd8 ke8 bf8 ng8 rh8 pa7 pb7 pc7 pd7 pe7 pf7 pg7 ph7 "
    "Pa2 Pb2 Pc2 Pd2 Pe2 Pf2 Pg2 Ph2 Ra1 Nb1 Bc1 Qd1 Ke1 Bf1 Ng1 Rh1";

}  // namespace

// Bare kings: both in their endgame table (no material beyond the king),
// both short of pawns (-7 each). Kg1 10 against ke8 30.
TEST(Eval23, BareKingsUseTheEndgameTableFromTheMoversView) {
    EXPECT_EQ(score("Kg1 ke8"), -20);
    EXPECT_EQ(score("Kg1 ke8", 'b'), 20);
}

// The start position is not level: dark's pawns are visited after its
// bishops (c8 light square, f8 dark square) and earn +2 -1 each, eight in
// all, while light's pawns come before light's bishops and earn nothing.
// Everything else mirrors: pair +15 each, kings -5 (e-file) x 4 each.
TEST(Eval23, StartPositionFavoursDarkThroughTheVisitingOrder) {
    EXPECT_EQ(score(START), -8);
    EXPECT_EQ(score(START, 'b'), 8);
}

TEST(Eval23, CountsEveryEvaluation) {
    const long before = chash[CHASH_EVAL];
    score("Ke1 ke8");
    EXPECT_EQ(chash[CHASH_EVAL], before + 1);
}

// Development: a square of the initial array holding another man credits
// its original owner with the weight of the man now there, whatever its
// colour. Nd2 on light's d2 pawn square: +4; a dark bishop on light's b2:
// light +3. L = 10300 +4 +3 -7 +30 (e1) +0 (Nd2); D = 10305 -7 +30 +0 (b2
// reads b7). A man on its own home square, or a vacated square, counts 0.
TEST(Eval23, DevelopmentCreditsTheSquaresOriginalOwner) {
    EXPECT_EQ(score("Ke1 ke8 Nd2 bb2"), 2);
    // Ng1 at home: no credit, knight table -30: 300 - 30.
    EXPECT_EQ(score("Ke1 ke8 Ng1"), 270);
    // Dark pawn on b2 (light's pawn square): light +1; the pawn itself
    // reads b7 15, isolated -8, passed on its seventh (7-1)*12 = 72, no
    // support and no blocker -7, b-file -6: 66. D = 10100 + 66 + 30;
    // L = 10000 - 7 + 1 + 30. Dark to move.
    EXPECT_EQ(score("Ke1 ke8 pb2", 'b'), 172);
    // A dark knight on g1 is another man than light's knight: light +4.
    // The knight reads g8, -10: 4 - 300 + 10.
    EXPECT_EQ(score("Ke1 ke8 ng1"), -286);
}

// Bishops d3 (5) and e3 (5) on different colours: +15 once, at e3.
// L = 10610 - 7 + 30 + 10 + 15, D = 10000 - 7 + 30.
TEST(Eval23, BishopPairCountedOnceForTwoAndPerLaterBishop) {
    EXPECT_EQ(score("Ke1 ke8 Bd3 Be3"), 635);
    // d3 and c4 (6) share a colour: no pair.
    EXPECT_EQ(score("Ke1 ke8 Bd3 Bc4"), 621);
    // c4 then d3 (same colour), then e3 completes the pair: 15 once.
    // 10915 - 7 + 30 + 6 + 5 + 5 + 15 - 10023.
    EXPECT_EQ(score("Ke1 ke8 Bc4 Bd3 Be3"), 946);
    // c4 then d4 completes it, and e3 after it earns another 15.
    // 10915 - 7 + 30 + 6 + 10 + 5 + 30 - 10023.
    EXPECT_EQ(score("Ke1 ke8 Bc4 Bd4 Be3"), 966);
}

// Rook files: no own pawn +8, enemy king on the file +10, no enemy pawn +12.
TEST(Eval23, RookFileTerms) {
    EXPECT_EQ(score("Ke1 ke8 Re4"), 500 + 30);
    EXPECT_EQ(score("Ke1 ke8 Rd4"), 500 + 20);
    // Pa2 on the rook's file: the rook gets nothing. The pawn: 0, isolated
    // -8, passed 12, alone -7, a-file -7 = -10; dark lacks pawns -7.
    EXPECT_EQ(score("Ke1 ke8 Ra4 Pa2"), 600 - 10 + 7);
    // Only an enemy pawn on the file: +8. Pd7 reads d2 -40, isolated -8,
    // passed 12, alone -7 = -43. L = 10500-7+30+8, D = 10100-43+30.
    EXPECT_EQ(score("Ke1 ke8 Rd4 pd7"), 444);
}

// Seventh rank: each rook earns 15 when any rook of its side is there.
// Ra7 20 + 15, Rb4 20 + 15; 11000 - 7 + 30 + 70 - 10023.
TEST(Eval23, RookOnTheSeventhCountsForEveryRook) {
    EXPECT_EQ(score("Ke1 ke8 Ra7 Rb4"), 1070);
    // Dark's seventh is the second rank; re2 also sees the king on e1:
    // 8 + 10 + 12 + 15.
    EXPECT_EQ(score("Ke1 ke8 re2", 'b'), 500 + 45);
}

// Pawns c2, c3, d4, no dark pawns (all passed):
//   d4: 10 + (7-4)*12, supported by c3 = 46
//   c3: 1 - 6 doubled + 24, supported by c2, c-file -1 = 18
//   c2: -10 - 6 + 12 - 7 alone - 1 = -12
// L = 10300 + 52 + 30, D = 10000 - 7 + 30.
TEST(Eval23, DoubledPassedAndSupportedPawns) {
    EXPECT_EQ(score("Ke1 ke8 Pc2 Pc3 Pd4"), 359);
}

// A knight in front of a pawn costs 5 + 3, and the pawn is passed:
// 10 - 8 - 8 isolated + 36 - 7 alone = 23. Knight e5 reads e4: 10.
// L = 10100 + 23 + 30, D = 10300 + 10 - 7 + 30.
TEST(Eval23, PawnBlockedByAKnight) {
    EXPECT_EQ(score("Ke1 ke8 Pe4 ne5"), -180);
}

// Threshold of the king terms: the opponent's material beyond its king at
// most 1200 means the endgame table. Light R+P+N+N = 1200: dark kg8 reads
// 10. L = 11200 + 30 (e1) - 60 (knights b1, g1) - 10 (a2).
TEST(Eval23, KingSafetyStartsAboveTwelveHundred) {
    EXPECT_EQ(score("Ke1 Ra1 Pa2 Nb1 Ng1 kg8"), 11160 - (10000 - 7 + 10));
    // Bc1 for Nb1: 1205. kg8 in its corner: table 8, f-h without light
    // pawns -18, without dark pawns -18 (6 each for dark), x 11205/3250 =
    // 3: -84. L = 11205 + 30 - 8 (c1) - 30 (g1) - 10.
    EXPECT_EQ(score("Ke1 Ra1 Pa2 Bc1 Ng1 kg8"), 11187 - (10000 - 7 - 84));
}

// The mirror of the last position is not mirrored: the light king on g1
// pays 12 per file without its own pawns (8 - 18 - 36 = -46, x 3), and
// dark's a7 pawn comes after its c8 bishop (other colour, +2).
// D = 11205 + 30 - 8 - 30 - 8, L = 10000 - 7 - 138.
TEST(Eval23, LightKingPaysTwelveForOpenFilesDarkKingSix) {
    EXPECT_EQ(score("Kg1 ke8 ra8 pa7 bc8 ng8", 'b'), 1334);
}

// Kg1 behind f2 g2 h3 against pg3, which attacks f2 and h2; dark has
// 11550 (quotient 3). King: 8, f- and h-files without dark pawns -12, the
// attack -10: -14 x 3 = -42. Pawns: h3 passed 1+24-7 = 18, f2 -7-1 = -8,
// g2 blocked -5-5-6 = -16. Dark: ra8 +8 +12, pg3 reads g6 8, blocked -5,
// isolated -8, alone -5, g-file -6 = -16, ke8 30.
// L = 10300 - 6 - 42, D = 11550 + 30 + 20 - 16.
TEST(Eval23, KingShelterAndPawnAttackScaledByMaterial) {
    EXPECT_EQ(score("Kg1 Pf2 Pg2 Ph3 ke8 qd8 ra8 pg3"), -1332);
}

// With 13160 (Q, two rooks, bishops, knights at home) the quotient is 4:
// Kg1 behind f2 g2 h2 scores 8 - 18 (no dark pawns) = -10, x 4 = -40.
// Pawns: f2 12-7-1 = 4, g2 12-7-6 = -1, h2 12-7-7 = -2. Dark: no pawns -7,
// ke8 30, ra8 20, rh8 8 (light pawn on h), knights -60, bishops -8 -8 +15.
// L = 10300 + 1 - 40, D = 13160 - 7 + 30 + 28 - 60 - 1.
TEST(Eval23, KingSafetyWeightGrowsWithTheOpponentsMaterial) {
    EXPECT_EQ(score("Kg1 Pf2 Pg2 Ph2 ke8 qd8 ra8 rh8 bc8 bf8 nb8 ng8"), -2889);
}
