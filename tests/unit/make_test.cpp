// Making and taking back moves and null moves, and the repetition test.
// A walk over the move tree of several positions checks after every move
// that the kept sets agree with sets rebuilt from the board, that the keys
// and the material follow the men, and that taking back (or a refused move)
// leaves every global exactly as it was.
#include "board/fen.h"
#include "board/position.h"
#include "hash/keys.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "position_state.h"
#include <gtest/gtest.h>
#include <cstring>
#include <string>

using namespace position_state;

namespace {

uint64_t widened(int ep_square) { return uint64_t(int64_t(ep_square)); }

uint64_t piece_key(const char* square, int c, int p) { return hash_checksum[sq(square)][c][p]; }

void set_up(const char* fen) { ASSERT_EQ(process_fen(fen), 1) << fen; }

// Makes a move that must be legal.
void play(const char* from, const char* to, int bits = 0, int promote = 0) {
    ASSERT_EQ(makemove(mv(from, to, promote, bits)), 1) << from << to;
}

// Plays a move at the top level the way the front end records game moves.
void play_in_game(const char* from, const char* to, int bits = 0) {
    ASSERT_EQ(makemove(mv(from, to, 0, bits)), 1) << from << to;
    undo_dat[undos++] = hist_dat[0];
    ply = 0;
}

// The four moves that take both king's knights out and back again.
const char* const SHUFFLE[4][2] = {{"g1", "f3"}, {"g8", "f6"}, {"f3", "g1"}, {"f6", "g8"}};

struct walk_case {
    const char* name;
    const char* fen;
    int depth;           // plies walked below the position
    int rebuilt_plies;   // moves made down to this ply are checked against a rebuild
};

std::ostream& operator<<(std::ostream& os, const walk_case& c) { return os << c.name; }

class MakeWalk : public testing::TestWithParam<walk_case> {
protected:
    key_sums at_set_up;
    long made = 0, nulls = 0;

    // What must hold right after `m` was made from the state `before`.
    void check_made(const snapshot& before, move_bytes m) {
        const snapshot now = take();
        const std::string where = text(m) + " at ply " + std::to_string(before.ply);
        EXPECT_EQ(now.ply, before.ply + 1) << where;
        EXPECT_EQ(now.side, before.xside) << where;
        EXPECT_EQ(now.xside, before.side) << where;
        if (now.ply <= GetParam().rebuilt_plies) {
            EXPECT_EQ(set_differences(now, rebuilt()), "") << where;
        }
        EXPECT_EQ(now.piece[now.light_king_sq], KING) << where;
        EXPECT_EQ(now.color[now.light_king_sq], LIGHT) << where;
        EXPECT_EQ(now.piece[now.dark_king_sq], KING) << where;
        EXPECT_EQ(now.color[now.dark_king_sq], DARK) << where;
        EXPECT_EQ(now.material_balance, counted_material()) << where;
        EXPECT_EQ(team_moving, now.side == LIGHT ? now.light_occupied : now.dark_occupied) << where;

        // The pawn and piece keys are the keys of the men now on the board
        // against those of the set-up board.
        const key_sums sums = summed_keys();
        EXPECT_EQ(now.master_pawn, sums.pawns ^ at_set_up.pawns) << where;
        EXPECT_EQ(now.master_material, sums.others ^ at_set_up.others) << where;

        // The whole key: every man put on or taken off brings its piece key,
        // the side to move and the en passant square of the moment. The man
        // leaving `from`, a captured man and a castling rook are toggled with
        // the square before the move; the man arriving and a pawn taken en
        // passant with the square after it.
        const int old_toggles = 1 + (before.piece[m.to] != EMPTY) + ((m.bits & MF_CASTLE) ? 2 : 0);
        const int new_toggles = 1 + ((m.bits & MF_EP) ? 1 : 0);
        uint64_t expected = before.master_checksum ^ placement_change(before, now);
        if (old_toggles & 1) expected ^= side_corr[before.side] ^ widened(before.ep);
        if (new_toggles & 1) expected ^= side_corr[before.side] ^ widened(now.ep);
        EXPECT_EQ(now.master_checksum, expected) << where;

        const int double_step_ep = m.to + (before.side == LIGHT ? 8 : -8);
        EXPECT_EQ(now.ep, (m.bits & MF_DOUBLE) ? double_step_ep : -1) << where;
        const bool resets = m.bits & (MF_CAPTURE | MF_DOUBLE | MF_PAWN);
        EXPECT_EQ(now.fifty, resets ? 0 : before.fifty + 1) << where;
        EXPECT_EQ(now.castle, before.castle & castle_mask[m.from] & castle_mask[m.to]) << where;
    }

    // A null move here, the moves below it, and its unmaking.
    void check_null_move() {
        const snapshot before = take();
        const bool allowed = ply >= 2 && ply <= 12 && !(hist_dat[ply - 1].castle & 0x80);
        if (!allowed) {
            EXPECT_EQ(makenullmove(), 0) << "ply " << ply;
            EXPECT_EQ(differences(before, take()), "") << "refused null move at ply " << before.ply;
            return;
        }
        ASSERT_EQ(makenullmove(), 1) << "ply " << ply;
        nulls++;
        snapshot after = take();
        EXPECT_EQ(after.ply, before.ply + 1);
        EXPECT_EQ(after.side, before.xside);
        EXPECT_EQ(after.ep, -1);
        // Everything else, the keys included, is untouched.
        after.ply = before.ply;
        after.side = before.side;
        after.xside = before.xside;
        after.ep = before.ep;
        EXPECT_EQ(differences(before, after), "") << "null move at ply " << before.ply;

        // No second null move in a row.
        const snapshot in_null = take();
        EXPECT_EQ(makenullmove(), 0);
        EXPECT_EQ(differences(in_null, take()), "");

        // Moves made and taken back below a null move.
        Move2Gen();
        for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
            const snapshot b = take();
            if (makemove(gen_dat[i].m)) takeback();
            EXPECT_EQ(differences(b, take()), "") << text(gen_dat[i].m) << " below a null move";
        }
        unmakenullmove();
        EXPECT_EQ(differences(before, take()), "") << "unmade null move at ply " << before.ply;
        EXPECT_EQ(hist_dat[ply].castle & 0x80, 0);
    }

    void walk(int depth) {
        Move2Gen();
        for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
            const move_bytes m = gen_dat[i].m;
            const snapshot before = take();
            if (!makemove(m)) {
                EXPECT_EQ(differences(before, take()), "") << "refused " << text(m) << " at ply " << before.ply;
            } else {
                made++;
                check_made(before, m);
                if (depth > 1) walk(depth - 1);
                takeback();
                EXPECT_EQ(differences(before, take()), "") << "took back " << text(m) << " at ply " << before.ply;
                EXPECT_EQ(team_moving, side == LIGHT ? light_occupied : dark_occupied);
            }
            if (HasFailure()) return;
        }
        check_null_move();
    }
};

}  // namespace

TEST_P(MakeWalk, EveryMoveKeepsTheStateTrueAndTakingBackRestoresIt) {
    set_up(GetParam().fen);
    at_set_up = summed_keys();
    const snapshot root = take();
    walk(GetParam().depth);
    EXPECT_EQ(differences(root, take()), "");
    EXPECT_GT(made, 0);
    if (GetParam().depth >= 3) {
        EXPECT_GT(nulls, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, MakeWalk,
    testing::Values(
        walk_case{"start", "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", 3, 2},
        walk_case{"castling_middle_game", "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", 3, 1},
        walk_case{"rook_ending", "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", 4, 2},
        walk_case{"promotions_light", "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", 3, 2},
        walk_case{"promotions_dark", "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1", 3, 2},
        walk_case{"promotion_threat", "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", 3, 1},
        walk_case{"quiet_middle_game", "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10", 2, 1},
        walk_case{"underpromotions", "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1", 3, 2},
        walk_case{"en_passant_pin", "8/8/8/K2pP2r/8/8/8/7k w - d6 0 2", 4, 2},
        walk_case{"pawn_chains", "4k3/8/3p1p2/2p1p1p1/3P1P2/2P1P1P1/8/4K3 w - - 0 1", 4, 2},
        walk_case{"rooks_in_corners", "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1", 3, 2}),
    [](const testing::TestParamInfo<walk_case>& info) { return std::string(info.param.name); });

TEST(MakeMove, CastlingMovesTheRookInEverySet) {
    set_up("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 3 1");
    const snapshot root = take();
    play("e1", "g1", MF_CASTLE);
    EXPECT_EQ(piece[sq("f1")], ROOK);
    EXPECT_EQ(color[sq("f1")], LIGHT);
    EXPECT_EQ(piece[sq("h1")], EMPTY);
    EXPECT_EQ(color[sq("h1")], EMPTY);
    EXPECT_EQ(light_king_sq, sq("g1"));
    EXPECT_EQ(light_rooks, squares({"a1", "f1"}));
    EXPECT_EQ(light_occupied, squares({"a1", "f1", "g1"}));
    EXPECT_EQ(set_differences(take(), rebuilt()), "");
    EXPECT_EQ(castle, 4 | 8);
    EXPECT_EQ(fifty, 4);

    play("e8", "c8", MF_CASTLE);
    EXPECT_EQ(piece[sq("d8")], ROOK);
    EXPECT_EQ(color[sq("d8")], DARK);
    EXPECT_EQ(piece[sq("a8")], EMPTY);
    EXPECT_EQ(dark_king_sq, sq("c8"));
    EXPECT_EQ(dark_rooks, squares({"d8", "h8"}));
    EXPECT_EQ(dark_occupied, squares({"c8", "d8", "h8"}));
    EXPECT_EQ(set_differences(take(), rebuilt()), "");
    EXPECT_EQ(castle, 0);
    EXPECT_EQ(fifty, 5);

    takeback();
    takeback();
    EXPECT_EQ(differences(root, take()), "");
}

TEST(MakeMove, DoubleStepSetsTheEnPassantSquareForOneMove) {
    set_up("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 7 1");
    play("e2", "e4", MF_DOUBLE);
    EXPECT_EQ(ep, 44);
    EXPECT_EQ(fifty, 0);
    play("g8", "f6");
    EXPECT_EQ(ep, -1);
    EXPECT_EQ(fifty, 1);
    play("d2", "d3", MF_PAWN);
    EXPECT_EQ(fifty, 0);
    play("e7", "e5", MF_DOUBLE);
    EXPECT_EQ(ep, 20);   // e6
}

TEST(MakeMove, EnPassantRemovesThePawnBehindTheTarget) {
    set_up("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 2");
    const int balance = material_balance;
    const uint64_t pawn_key = master_pawn;
    play("e5", "d6", MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(piece[sq("d5")], EMPTY);
    EXPECT_EQ(color[sq("d5")], EMPTY);
    EXPECT_EQ(piece[sq("d6")], PAWN);
    EXPECT_EQ(color[sq("d6")], LIGHT);
    EXPECT_EQ(dark_pawns, 0u);
    EXPECT_EQ(dark_occupied, squares({"e8"}));
    EXPECT_EQ(casillas_ocupadas & squares({"d5", "e5"}), 0u);
    EXPECT_EQ(set_differences(take(), rebuilt()), "");
    EXPECT_EQ(material_balance, balance + 100);
    EXPECT_EQ(master_pawn, pawn_key ^ piece_key("e5", LIGHT, PAWN) ^ piece_key("d6", LIGHT, PAWN) ^
                               piece_key("d5", DARK, PAWN));
    EXPECT_EQ(hist_dat[0].capture, EMPTY);
    takeback();
    EXPECT_EQ(piece[sq("d5")], PAWN);
    EXPECT_EQ(color[sq("d5")], DARK);

    set_up("4k3/8/8/8/3pP3/8/8/4K3 b - e3 0 2");
    play("d4", "e3", MF_CAPTURE | MF_PAWN | MF_EP);
    EXPECT_EQ(piece[sq("e4")], EMPTY);
    EXPECT_EQ(light_pawns, 0u);
    EXPECT_EQ(material_balance, -100);
    EXPECT_EQ(set_differences(take(), rebuilt()), "");
}

TEST(MakeMove, PromotionReplacesThePawnByTheNewPiece) {
    set_up("4k3/P7/8/8/8/8/8/4K3 w - - 0 1");
    const uint64_t pawn_key = master_pawn, material_key = master_material;
    play("a7", "a8", MF_PROMOTE | MF_PAWN, QUEEN);
    EXPECT_EQ(material_balance, 900);
    EXPECT_EQ(piece[sq("a8")], QUEEN);
    EXPECT_EQ(light_pawns, 0u);
    EXPECT_EQ(light_queens, squares({"a8"}));
    EXPECT_EQ(master_pawn, pawn_key ^ piece_key("a7", LIGHT, PAWN));
    EXPECT_EQ(master_material, material_key ^ piece_key("a8", LIGHT, QUEEN));
    EXPECT_EQ(set_differences(take(), rebuilt()), "");
    takeback();
    EXPECT_EQ(piece[sq("a7")], PAWN);
    EXPECT_EQ(piece[sq("a8")], EMPTY);

    play("a7", "a8", MF_PROMOTE | MF_PAWN, KNIGHT);
    EXPECT_EQ(material_balance, 100 + 205);
    EXPECT_EQ(light_knights, squares({"a8"}));
    takeback();

    // Taking a rook on its corner while promoting also clears its castling right.
    set_up("r3k3/1P6/8/8/8/8/8/4K3 w q - 0 1");
    play("b7", "a8", MF_PROMOTE | MF_PAWN | MF_CAPTURE, QUEEN);
    EXPECT_EQ(material_balance, -500 + 100 + 800 + 500);
    EXPECT_EQ(dark_rooks, 0u);
    EXPECT_EQ(light_queens, squares({"a8"}));
    EXPECT_EQ(castle, 0);
    EXPECT_EQ(hist_dat[0].capture, ROOK);
    EXPECT_EQ(set_differences(take(), rebuilt()), "");

    set_up("4k3/8/8/8/8/8/p7/4K3 b - - 0 1");
    play("a2", "a1", MF_PROMOTE | MF_PAWN, QUEEN);
    EXPECT_EQ(material_balance, -900);
    EXPECT_EQ(dark_queens, squares({"a1"}));
}

TEST(MakeMove, CastlingRightsFollowTheKingAndTheRooks) {
    const char* fen = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1";
    struct {
        const char *from, *to;
        int bits, castle_after;
    } cases[] = {
        {"e1", "f1", 0, 4 | 8},            // the king clears both light rights
        {"e1", "d2", 0, 4 | 8},
        {"a1", "b1", 0, 2 | 4 | 8},        // the a1 rook only the queen side
        {"h1", "h5", 0, 1 | 4 | 8},
        {"h1", "h8", MF_CAPTURE, 1 | 4},   // and taking the h8 rook clears dark's king side
        {"a1", "a8", MF_CAPTURE, 2 | 8},
    };
    for (const auto& c : cases) {
        set_up(fen);
        play(c.from, c.to, c.bits);
        EXPECT_EQ(castle, c.castle_after) << c.from << c.to;
        takeback();
        EXPECT_EQ(castle, 15);
    }
}

TEST(MakeMove, FiftyCounterRestartsOnCapturesAndPawnMovesOnly) {
    set_up("r3k3/8/8/8/8/8/P7/R3K2R w KQq - 20 30");
    play("e1", "g1", MF_CASTLE);
    EXPECT_EQ(fifty, 21);
    play("e8", "e7");
    EXPECT_EQ(fifty, 22);
    play("a2", "a3", MF_PAWN);
    EXPECT_EQ(fifty, 0);
    play("a8", "a3", MF_CAPTURE);
    EXPECT_EQ(fifty, 0);
    play("f1", "f2");
    EXPECT_EQ(fifty, 1);
}

TEST(MakeMove, QuietMoveChangesTheKeyByTheTwoSquaresAndTheEnPassantTerms) {
    set_up(START_FEN);
    const uint64_t start = master_checksum;
    play("b1", "c3");
    // No side term: the two toggles carry the same side and cancel.
    EXPECT_EQ(master_checksum, start ^ piece_key("b1", LIGHT, KNIGHT) ^ piece_key("c3", LIGHT, KNIGHT));
    EXPECT_EQ(master_pawn, 0u);
    takeback();
    EXPECT_EQ(master_checksum, start);

    play("e2", "e4", MF_DOUBLE);
    const uint64_t after_e4 = master_checksum, material_key = master_material;
    play("g8", "f6");
    EXPECT_EQ(master_checksum, after_e4 ^ piece_key("g8", DARK, KNIGHT) ^ piece_key("f6", DARK, KNIGHT) ^
                                   widened(44) ^ widened(-1));
    EXPECT_NE(master_material, material_key);   // a piece move changes the material key

    // A plain pawn step changes the pawn key and not the material key.
    uint64_t pawn_key = master_pawn, pieces_key = master_material;
    play("d2", "d3", MF_PAWN);
    EXPECT_NE(master_pawn, pawn_key);
    EXPECT_EQ(master_material, pieces_key);
    // A king step changes the material key and not the pawn key.
    play("e7", "e5", MF_DOUBLE);
    pawn_key = master_pawn;
    pieces_key = master_material;
    play("e1", "e2");
    EXPECT_EQ(master_pawn, pawn_key);
    EXPECT_NE(master_material, pieces_key);
}

TEST(MakeMove, SameQuietMovesInAnotherOrderGiveTheSameKeys) {
    set_up(START_FEN);
    play("g1", "f3");
    play("g8", "f6");
    play("b1", "c3");
    const uint64_t one_order = master_checksum;
    takeback();
    takeback();
    takeback();
    play("b1", "c3");
    play("g8", "f6");
    play("g1", "f3");
    EXPECT_EQ(master_checksum, one_order);
}

TEST(MakeMove, MoveLeavingTheKingAttackedIsRefusedAndChangesNothing) {
    // The knight on e2 is pinned by the rook on e7; the bishop on b4 guards d2.
    set_up("4k3/4r3/8/8/1b6/8/4N3/4K3 w - - 5 9");
    const snapshot before = take();
    EXPECT_EQ(makemove(mv("e2", "c3")), 0);
    EXPECT_EQ(differences(before, take()), "");
    EXPECT_EQ(makemove(mv("e2", "g1")), 0);
    EXPECT_EQ(differences(before, take()), "");
    EXPECT_EQ(makemove(mv("e1", "d2")), 0);
    EXPECT_EQ(differences(before, take()), "");
    EXPECT_EQ(makemove(mv("e1", "f1")), 1);
    takeback();
    EXPECT_EQ(differences(before, take()), "");
}

// The undo records end at ply 63: a line is played down to ply 63 and no
// further, so nothing past the last record is ever written.
TEST(MakeMove, NoMoveIsMadeBeyondTheLastUndoRecord) {
    set_up(START_FEN);
    const snapshot root = take();
    for (int i = 0; i < MAX_PLY - 1; i++) {
        ASSERT_EQ(makemove(mv(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1])), 1) << "move " << i;
    }
    ASSERT_EQ(ply, MAX_PLY - 1);
    Move2Gen();   // the list of the last ply still fits
    EXPECT_GT(gen_end[ply], gen_begin[ply]);
    const snapshot deepest = take();
    hist_dat[MAX_PLY - 1].checksum = 0x5EA5EA5EA5EA5EAull;   // would be overwritten by a made move
    EXPECT_EQ(makemove(mv(SHUFFLE[3][0], SHUFFLE[3][1])), 0);
    EXPECT_EQ(differences(deepest, take()), "");
    EXPECT_EQ(hist_dat[MAX_PLY - 1].checksum, 0x5EA5EA5EA5EA5EAull);
    while (ply > 0) takeback();
    EXPECT_EQ(differences(root, take()), "");
}

TEST(NullMove, AllowedFromPlyTwoToTwelveAndNeverTwiceInARow) {
    set_up(START_FEN);
    EXPECT_EQ(makenullmove(), 0);   // ply 0
    play("g1", "f3");
    EXPECT_EQ(makenullmove(), 0);   // ply 1
    play("e7", "e5", MF_DOUBLE);
    const snapshot before = take();
    ASSERT_EQ(makenullmove(), 1);   // ply 2
    EXPECT_EQ(ply, 3);
    EXPECT_EQ(side, DARK);   // dark moves again
    EXPECT_EQ(xside, LIGHT);
    EXPECT_EQ(ep, -1);
    EXPECT_EQ(master_checksum, before.master_checksum);
    EXPECT_EQ(makenullmove(), 0);   // directly after a null move
    play("b8", "c6");               // dark replies below the null move
    EXPECT_EQ(makenullmove(), 1);   // a real move in between allows it again
    unmakenullmove();
    takeback();
    unmakenullmove();
    EXPECT_EQ(differences(before, take()), "");
    EXPECT_EQ(ep, 20);
    EXPECT_EQ(hist_dat[2].castle & 0x80, 0);
    // A real move in place of the null move at ply 2, then a null move at ply 3.
    play("f3", "g1");
    EXPECT_EQ(makenullmove(), 1);
    unmakenullmove();
}

TEST(NullMove, NotAllowedBeyondPlyTwelve) {
    set_up(START_FEN);
    for (int i = 0; i < 12; i++) play(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1]);
    ASSERT_EQ(ply, 12);
    ASSERT_EQ(makenullmove(), 1);
    unmakenullmove();
    play(SHUFFLE[0][0], SHUFFLE[0][1]);
    const snapshot before = take();
    EXPECT_EQ(makenullmove(), 0);   // ply 13
    EXPECT_EQ(differences(before, take()), "");
}

// An aborted search takes back every ply with takeback, null moves included.
TEST(NullMove, TakingBackThroughANullMoveRestoresTheRoot) {
    set_up("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    const snapshot root = take();
    play("a2", "a4", MF_DOUBLE);
    play("b4", "a3", MF_CAPTURE | MF_PAWN | MF_EP);
    ASSERT_EQ(makenullmove(), 1);
    play("e8", "g8", MF_CASTLE);
    play("e1", "c1", MF_CASTLE);
    while (ply > 0) takeback();
    EXPECT_EQ(differences(root, take()), "");
}

TEST(Repetition, NeverAtTheRoot) {
    set_up(START_FEN);
    for (int i = 0; i < 12; i++) play_in_game(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1]);
    ASSERT_EQ(undos, 12);
    EXPECT_EQ(key_search(), 0);
}

TEST(Repetition, PositionSeenTwiceBeforeInTheLine) {
    set_up(START_FEN);
    for (int i = 0; i < 8; i++) {
        play(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1]);
        // Back at the start for the first time at ply 4, the second time at ply 8.
        EXPECT_EQ(key_search(), ply == 8 ? 1 : 0) << "ply " << ply;
    }
}

TEST(Repetition, GameRecordCountsOnlyInALongGame) {
    // Ten game moves, then two search plies back to the start position,
    // which the game has seen three times: the game is not long enough.
    set_up(START_FEN);
    for (int i = 0; i < 10; i++) play_in_game(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1]);
    play(SHUFFLE[2][0], SHUFFLE[2][1]);
    play(SHUFFLE[3][0], SHUFFLE[3][1]);
    EXPECT_EQ(key_search(), 0);

    // Fourteen game moves: the last ten records hold the start position three times.
    set_up(START_FEN);
    for (int i = 0; i < 14; i++) play_in_game(SHUFFLE[i % 4][0], SHUFFLE[i % 4][1]);
    play(SHUFFLE[2][0], SHUFFLE[2][1]);
    play(SHUFFLE[3][0], SHUFFLE[3][1]);
    EXPECT_EQ(key_search(), 1);
}

TEST(Repetition, OnlyTheLastTenGameRecordsCount) {
    set_up(START_FEN);
    play("g1", "f3");
    const uint64_t key = master_checksum;
    auto with_records = [&](int count, std::initializer_list<int> repeats) {
        undos = count;
        for (int k = 0; k < count; k++) undo_dat[k].checksum = ~key - 1 - uint64_t(k);
        for (int k : repeats) undo_dat[k].checksum = key;
        return key_search();
    };
    EXPECT_EQ(with_records(10, {0, 9}), 0);    // ten moves are not a long game yet
    EXPECT_EQ(with_records(11, {1, 10}), 1);
    EXPECT_EQ(with_records(11, {0, 10}), 0);   // record 0 is the eleventh from the end
    EXPECT_EQ(with_records(11, {5}), 0);       // once is no repetition
    undos = 0;
}

TEST(Repetition, IrreversibleLastMoveNeverRepeats) {
    // Dark plays d7-d5; then light has en passant, pawn steps, a double
    // step, promotions, a capture, both castlings and quiet moves.
    set_up("r3k2r/1P1p4/8/4P3/8/8/P7/R3K2R b KQkq - 0 1");
    play("d7", "d5", MF_DOUBLE);
    Move2Gen();
    int kinds = 0;
    for (int i = gen_begin[ply]; i < gen_end[ply]; i++) {
        const move_bytes m = gen_dat[i].m;
        if (!makemove(m)) continue;
        kinds |= m.bits;
        // Pretend both earlier positions of the line had this key.
        const uint64_t kept0 = hist_dat[0].checksum, kept1 = hist_dat[1].checksum;
        hist_dat[0].checksum = hist_dat[1].checksum = master_checksum;
        const int irreversible = MF_CAPTURE | MF_CASTLE | MF_EP | MF_DOUBLE | MF_PAWN | MF_PROMOTE;
        EXPECT_EQ(key_search(), (m.bits & irreversible) ? 0 : 1) << text(m) << " bits " << int(m.bits);
        hist_dat[0].checksum = kept0;
        hist_dat[1].checksum = kept1;
        takeback();
    }
    EXPECT_EQ(kinds, 0x3F);   // every kind of move was tried
}
