// Edition 3.0's board and move layer: castling bits, flag maps, exchange
// estimates and ordering scores, and the perft counts.
#include "board/fen.h"
#include "board/position.h"
#include "editions/v30/gen.h"
#include "editions/v30/score.h"
#include "hash/keys.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "tools/perft.h"
#include "bitboard/pieces.h"
#include "bitboard/tables.h"
#include <gtest/gtest.h>
#include <string>

namespace {

int square(const char* s) { return (s[0] - 'a') + ('8' - s[1]) * 8; }

void set_up(const char* fen) {
    ASSERT_EQ(process_fen(fen), 1) << fen;
    Move2Gen();
}

// Plays a generated move given by its squares.
bool play(const char* from, const char* to) {
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (m.from == square(from) && m.to == square(to) && makemove(m)) {
            undo_dat[undos++] = hist_dat[0];
            ply = 0;
            Move2Gen();
            return true;
        }
    }
    return false;
}

uint64_t count(const char* fen, int depth) {
    process_fen(fen);
    return perft(depth);
}

}  // namespace

TEST(Castling30, RightsUseTheShortBitFirst) {
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w K - 0 1");
    EXPECT_EQ(castle, 1);
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w kq - 0 1");
    EXPECT_EQ(castle, 12);
    char text[FEN_TEXT_SIZE];
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w Qk - 0 1");
    fen_display(text);
    EXPECT_EQ(std::string(text), "r3k2r/8/8/8/8/8/8/R3K2R w Qk -");
}

TEST(Castling30, RookAndKingMovesClearTheirRights) {
    EXPECT_EQ(castle_mask[square("a1")], 13);
    EXPECT_EQ(castle_mask[square("h1")], 14);
    EXPECT_EQ(castle_mask[square("e1")], 12);
    EXPECT_EQ(castle_mask[square("a8")], 7);
    EXPECT_EQ(castle_mask[square("h8")], 11);
    EXPECT_EQ(castle_mask[square("e8")], 3);
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    ASSERT_TRUE(play("h1", "h2"));
    EXPECT_EQ(castle, 15 & ~1);
    ASSERT_TRUE(play("e8", "e7"));
    EXPECT_EQ(castle, 2);
    ASSERT_TRUE(play("a1", "a2"));
    EXPECT_EQ(castle, 0);
}

TEST(Castling30, BothWaysMoveTheRookAndNeedItOnItsCorner) {
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    ASSERT_TRUE(play("e1", "g1"));
    EXPECT_EQ(piece[square("f1")], ROOK);
    EXPECT_EQ(color[square("h1")], EMPTY);
    ASSERT_TRUE(play("e8", "c8"));
    EXPECT_EQ(piece[square("d8")], ROOK);
    EXPECT_EQ(color[square("a8")], EMPTY);
    // A queen on h1 with the short right kept does not castle.
    set_up("4k3/8/8/8/8/8/8/4K2Q w K - 0 1");
    for (int i = gen_begin[0]; i < gen_end[0]; i++) EXPECT_FALSE(gen_dat[i].m.bits & MF_CASTLE);
}

TEST(FlagMap30, OneBitPerAttackingKindAndTwoPawns) {
    set_up("4k3/8/8/8/8/2P1P3/3N4/R3K3 w - - 0 1");
    int flags[64];
    BitBoard all, kinds[6];
    scan_attack(LIGHT, flags, &all, kinds);
    EXPECT_EQ(flags[square("d4")], 0x01 | 0x40);   // c3 and e3
    EXPECT_EQ(flags[square("b1")], 0x08 | 0x02);   // rook a1, knight d2
    EXPECT_EQ(flags[square("d1")], 0x08 | 0x20);   // rook along the rank, king
    EXPECT_EQ(flags[square("h8")], 0);
    EXPECT_EQ(kinds[KNIGHT], knight_moves[square("d2")]);
    // The rook's ray stops at the first man, here its own king: f1 is
    // attacked by the king and the knight only.
    EXPECT_EQ(flags[square("f1")], 0x20 | 0x02);
}

TEST(FlagMap30, ReturnsTheMenCheckingTheEnemyKing) {
    set_up("4k3/3P4/8/8/8/8/8/4RK2 b - - 0 1");
    int flags[64];
    BitBoard all, kinds[6];
    const BitBoard checkers = scan_attack(LIGHT, flags, &all, kinds);
    EXPECT_EQ(checkers, mask[square("d7")] | mask[square("e1")]);
}

TEST(Exchange30, UndefendedAndLesserCaptures) {
    set_up("4k3/8/8/3p4/4P3/8/8/4K3 w - - 0 1");
    // Pawn takes an undefended pawn.
    EXPECT_EQ(sce(square("e4"), square("d5"), 0, 0x01), 100 + 145000);
    set_up("4k3/2p5/3n4/8/4N3/8/8/4K3 w - - 0 1");
    // Knight takes a knight defended by a pawn: equal kinds, one defender.
    EXPECT_EQ(sce(square("e4"), square("d6"), 0x01, 0x00), 145000);
    EXPECT_EQ(sce(square("e4"), square("d6"), 0x41, 0x00), 0);   // two defending pawns
    EXPECT_EQ(sce(square("e4"), square("d6"), 0x41, 0x40), 30);
}

TEST(Exchange30, GreaterManTakingALesserOne) {
    set_up("4k3/8/2p5/3p4/8/8/8/3QK3 w - - 0 1");
    // Queen takes a pawn defended by a pawn: the loss is counted at once.
    EXPECT_EQ(sce(square("d1"), square("d5"), 0x01, 0x10), 100 - 900);
    // Defended only by a knight while only queens of ours bear on it.
    EXPECT_EQ(sce(square("d1"), square("d5"), 0x02, 0x10), 100 - 900);
    // A rook defending is enough to lose the queen's bonus.
    EXPECT_EQ(sce(square("d1"), square("d5"), 0x08, 0x18), 100 - 900);
    // Defended by the king alone: the full bonus; by as much as we attack with, half of it.
    EXPECT_EQ(sce(square("d1"), square("d5"), 0x20, 0x18), 100 - 900 + 145000);
    EXPECT_EQ(sce(square("d1"), square("d5"), 0x30, 0x30), 100 - 900 + 72500);
    // A bishop taking a knight is a minor trade, not a greater man's capture.
    set_up("4k3/8/8/3n4/8/5B2/8/4K3 w - - 0 1");
    EXPECT_EQ(sce(square("f3"), square("d5"), 0x01, 0x04), 300 - 320 + 145000);
    EXPECT_EQ(sce(square("f3"), square("d5"), 0x41, 0x04), 300 - 320);
}

TEST(Scoring30, KingIntoAttackAndPromotions) {
    set_up("4k3/1P6/8/8/8/8/r7/4K3 w - - 0 1");
    int fx[64] = {}, fs[64] = {};
    fx[square("d2")] = 0x08;
    EXPECT_EQ(scoring(move_bytes{int8_t(square("e1")), int8_t(square("d2")), 0, 0}, fx, fs), -1000);
    hash_ix = 1;   // as after a full generation
    const move_bytes promote{int8_t(square("b7")), int8_t(square("b8")), QUEEN, MF_PROMOTE | MF_PAWN};
    EXPECT_EQ(scoring(promote, fx, fs), 900 + 50000);
    fx[square("b8")] = 0x20;
    fs[square("b8")] = 0x01;
    EXPECT_EQ(scoring(promote, fx, fs), 900);
    hash_ix = 0;   // the quiescence search: no quiet terms
    EXPECT_EQ(scoring(promote, fx, fs), 0);
}

TEST(Perft30, PublishedCounts) {
    EXPECT_EQ(count("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 4), 197281u);
    EXPECT_EQ(count("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3), 97862u);
    EXPECT_EQ(count("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4), 43238u);
    EXPECT_EQ(count("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3), 9467u);
    EXPECT_EQ(count("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3), 62379u);
    EXPECT_EQ(count("r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 3), 89890u);
}

TEST(MakeMove30, TakeBackRestoresBoardSetsAndKeys) {
    set_up("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    ASSERT_TRUE(play("a2", "a4"));   // b4 can now take en passant
    int board_before[64];
    for (int s = 0; s < 64; s++) board_before[s] = color[s] * 8 + piece[s];
    const uint64_t key = master_checksum, pawns = master_pawn, men = master_material;
    const BitBoard occupied = light_occupied | dark_occupied, attacked = dark_pawn_attacked;
    const int rights = castle, passed = ep, counter = fifty;
    for (int i = gen_begin[0]; i < gen_end[0]; i++) {
        if (!makemove(gen_dat[i].m)) continue;
        EXPECT_EQ(hist_dat[0].checksum, master_checksum);
        takeback();
        for (int s = 0; s < 64; s++) ASSERT_EQ(color[s] * 8 + piece[s], board_before[s]) << i;
        ASSERT_EQ(master_checksum, key);
        ASSERT_EQ(master_pawn, pawns);
        ASSERT_EQ(master_material, men);
        ASSERT_EQ(light_occupied | dark_occupied, occupied);
        ASSERT_EQ(dark_pawn_attacked, attacked);
        ASSERT_EQ(castle, rights);
        ASSERT_EQ(ep, passed);
        ASSERT_EQ(fifty, counter);
    }
}

TEST(MakeMove30, NullMovesAndTheDeepestPly) {
    set_up("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    EXPECT_EQ(makenullmove(), 0);   // not at ply 0
    ply = MAX_PLY - 1;
    EXPECT_EQ(makemove(gen_dat[gen_begin[0]].m), 0);   // no record left for it
    ply = 0;
}

TEST(Fen30, SameRejectionsAsTheCurrentEdition) {
    const char* bad[] = {
        "4k3/8/8/8/8/8/8/4K3/8/pppp w - - 0 1",   // past h1
        "4k3/8/8/8/8/8/8/4K3 w - e0 0 1",         // en passant rank 0
        "8/8/8/8/8/8/8/8 w - - 0 1",              // no kings
        "4k3/8/8/8/8/8/8/4R1K1 w - - 0 1",        // the side not to move in check
        "4k3/8/8/8/8/8/8/4K3 w - d6 0 1",         // en passant without the pawn
    };
    for (const char* fen : bad) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(process_fen(fen), 0) << fen;
        testing::internal::GetCapturedStdout();
    }
    init();
}
