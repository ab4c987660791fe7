// Pawn and material tables: probing and storing by key, eviction, clearing,
// the counters, and how the evaluation uses them across set-ups, moves and
// changes of the game phase.
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "eval_positions.h"
#include "hash/evalcache.h"
#include "hash/keys.h"
#include <gtest/gtest.h>

using namespace eval_positions;

namespace {

// Light pawns a2 and h2, a light knight on c3, kings e1 and e8.
// Middle game: pawns 48 (see the pawn tests), pieces 47:
//   15 for one more piece, 8 development, knight c3 15 + tropism 8/(5+1) = 1,
//   kings 2*4*2 - 2*4*1 = 8, castled-king terms +10 - 10 = 0.
// Endgame: pawns 108 (the passed term 60 doubles to 120), pieces 24:
//   8 development + 16 knight, kings 2*4 - 2*4 = 0, light only king and
//   knight -10, dark bare king +10.
const char* const KNIGHT_AND_EDGE_PAWNS = "4k3/8/8/8/8/2N5/P6P/4K3 w - - 0 1";

struct counters {
    long hp_hit, hp_miss, hm_hit, hm_miss;
};

counters now() { return {hp_impacts, hp_nofound, hm_impacts, hm_nofound}; }

}  // namespace

TEST(EvalCache, ProbeRightAfterSetUpMissesThoughTheKeysAreZero) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    is_endgame = 0;
    ASSERT_EQ(master_pawn, 0u);
    ASSERT_EQ(master_material, 0u);
    int v = 12345;
    // The empty entries also hold key 0, but were never written.
    EXPECT_EQ(hp_search(&v), 0);
    EXPECT_EQ(hm_search(&v), 0);
    EXPECT_EQ(v, 12345);

    const counters c0 = now();
    EXPECT_EQ(eval_pawns(), 48);
    EXPECT_EQ(eval_pieces(), 47);
    const counters c1 = now();
    EXPECT_EQ(c1.hp_miss - c0.hp_miss, 1);
    EXPECT_EQ(c1.hm_miss - c0.hm_miss, 1);
    EXPECT_EQ(c1.hp_hit, c0.hp_hit);
    EXPECT_EQ(c1.hm_hit, c0.hm_hit);

    // Now the entries of key 0 are written and answer.
    EXPECT_EQ(eval_pawns(), 48);
    EXPECT_EQ(eval_pieces(), 47);
    const counters c2 = now();
    EXPECT_EQ(c2.hp_hit - c1.hp_hit, 1);
    EXPECT_EQ(c2.hm_hit - c1.hm_hit, 1);
    EXPECT_EQ(c2.hp_miss, c1.hp_miss);
    EXPECT_EQ(c2.hm_miss, c1.hm_miss);
    EXPECT_EQ(hp_search(&v), 1);
    EXPECT_EQ(v, 48);
    EXPECT_EQ(hm_search(&v), 1);
    EXPECT_EQ(v, 47);
}

TEST(EvalCache, StoreThenProbeByKeyAndEvictOnSameIndex) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    int v = 0;
    const uint64_t key = 0x1234567ULL;
    const uint64_t same_index = key + EVAL_CACHE_SIZE;   // differs, equal mod 65535

    master_pawn = key;
    hp_update(7);
    EXPECT_EQ(hp_search(&v), 1);
    EXPECT_EQ(v, 7);
    master_pawn = same_index;
    EXPECT_EQ(hp_search(&v), 0);   // same entry, other key
    hp_update(9);
    EXPECT_EQ(hp_search(&v), 1);
    EXPECT_EQ(v, 9);
    master_pawn = key;
    EXPECT_EQ(hp_search(&v), 0);   // evicted
    master_pawn = key + 1;
    EXPECT_EQ(hp_search(&v), 0);   // its own entry was never written

    master_material = key;
    hm_update(-3);
    EXPECT_EQ(hm_search(&v), 1);
    EXPECT_EQ(v, -3);
    master_material = same_index;
    EXPECT_EQ(hm_search(&v), 0);
    hm_update(4);
    master_material = key;
    EXPECT_EQ(hm_search(&v), 0);
    master_material = same_index;
    EXPECT_EQ(hm_search(&v), 1);
    EXPECT_EQ(v, 4);

    // A later store for the same key replaces the value.
    hm_update(5);
    EXPECT_EQ(hm_search(&v), 1);
    EXPECT_EQ(v, 5);

    // The two tables are separate: the pawn table knows nothing of this key.
    master_pawn = same_index + 1;
    master_material = same_index + 1;
    hm_update(11);
    EXPECT_EQ(hp_search(&v), 0);
}

TEST(EvalCache, ClearingOneTableLeavesTheOther) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    int v = 0;
    // Five keys on five different entries (index = key mod 65535).
    const uint64_t keys[] = {0, 1, 65534, 65535 + 3, 0xFFFFFFFFFFFFFFFFULL - 3};
    for (uint64_t k : keys) {
        master_pawn = master_material = k;
        hp_update(int(k & 0xFF) + 1);
        hm_update(int(k & 0xFF) + 2);
    }
    clear_p_hash();
    for (uint64_t k : keys) {
        master_pawn = master_material = k;
        EXPECT_EQ(hp_search(&v), 0) << k;   // key 0 included: an emptied entry never answers
        ASSERT_EQ(hm_search(&v), 1) << k;
        EXPECT_EQ(v, int(k & 0xFF) + 2);
    }
    clear_m_hash();
    for (uint64_t k : keys) {
        master_material = k;
        EXPECT_EQ(hm_search(&v), 0) << k;
    }
}

TEST(EvalCache, SetUpEmptiesBothTables) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    is_endgame = 0;
    eval_pawns();
    eval_pieces();
    master_pawn = master_material = 99;
    hp_update(1);
    hm_update(1);
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    int v;
    EXPECT_EQ(hp_search(&v), 0);
    EXPECT_EQ(hm_search(&v), 0);
    master_pawn = master_material = 99;
    EXPECT_EQ(hp_search(&v), 0);
    EXPECT_EQ(hm_search(&v), 0);
}

// A stored score comes back for the same pawns or pieces reached again, and
// it is what a fresh computation gives.
TEST(EvalCache, HitGivesTheFreshScoreOfTheSamePlacement) {
    ASSERT_EQ(process_fen(START_FEN), 1);
    is_endgame = 0;
    const int start_pawns = eval_pawns();
    const int start_pieces = eval_pieces();

    // Knight moves keep the pawn key: the set-up entry answers.
    ASSERT_EQ(play("g1f3"), 1);
    ASSERT_EQ(play("b8c6"), 1);
    counters c0 = now();
    EXPECT_EQ(eval_pawns(), start_pawns);
    EXPECT_EQ(now().hp_hit - c0.hp_hit, 1);
    ASSERT_EQ(play("b1c3"), 1);
    ASSERT_EQ(play("g8f6"), 1);
    c0 = now();
    const int four_knights = eval_pieces();
    EXPECT_EQ(now().hm_miss - c0.hm_miss, 1);
    for (int i = 0; i < 4; i++) takeback();

    // The same knights in another order: same key, a hit with the same score.
    ASSERT_EQ(play("b1c3"), 1);
    ASSERT_EQ(play("g8f6"), 1);
    ASSERT_EQ(play("g1f3"), 1);
    ASSERT_EQ(play("b8c6"), 1);
    c0 = now();
    EXPECT_EQ(eval_pieces(), four_knights);
    EXPECT_EQ(now().hm_hit - c0.hm_hit, 1);
    clear_m_hash();
    EXPECT_EQ(eval_pieces(), four_knights);

    // A pawn move misses; taking it back finds the old entry again.
    ASSERT_EQ(play("e2e4"), 1);
    c0 = now();
    const int after_e4 = eval_pawns();
    EXPECT_EQ(now().hp_miss - c0.hp_miss, 1);
    EXPECT_NE(after_e4, start_pawns);
    takeback();
    c0 = now();
    EXPECT_EQ(eval_pawns(), start_pawns);
    EXPECT_EQ(now().hp_hit - c0.hp_hit, 1);
    clear_p_hash();
    EXPECT_EQ(eval_pawns(), start_pawns);
    for (int i = 0; i < 4; i++) takeback();
    EXPECT_EQ(ply, 0);
    // Back at the set-up placement (the material table was emptied above,
    // so this is computed again): the same score as at the start.
    EXPECT_EQ(eval_pieces(), start_pieces);
}

// The pawn scores depend on the phase, so a change of phase empties the
// pawn table; the material table is kept and answers with the score of the
// old phase.
TEST(EvalCache, PhaseChangeClearsPawnTableButNotMaterialTable) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    is_endgame = 0;
    EXPECT_EQ(eval_pawns(), 48);
    EXPECT_EQ(eval_pieces(), 47);
    int v;

    // Nobody's engine: light's pieces count, king and knight, so endgame.
    ASSERT_EQ(computer_side, EMPTY);
    EXPECT_EQ(endgame(), 1);
    EXPECT_EQ(hp_search(&v), 0);
    ASSERT_EQ(hm_search(&v), 1);
    EXPECT_EQ(v, 47);
    EXPECT_EQ(is_endgame, 0);   // endgame() leaves the flag to its caller

    is_endgame = 1;
    counters c0 = now();
    EXPECT_EQ(eval_pawns(), 108);
    EXPECT_EQ(eval_pieces(), 47);   // the middle-game value, kept on purpose
    counters c1 = now();
    EXPECT_EQ(c1.hp_miss - c0.hp_miss, 1);
    EXPECT_EQ(c1.hm_hit - c0.hm_hit, 1);

    // No change of phase: nothing is cleared.
    EXPECT_EQ(endgame(), 1);
    EXPECT_EQ(hp_search(&v), 1);
    EXPECT_EQ(v, 108);

    // The endgame value of the pieces, once computed afresh.
    clear_m_hash();
    EXPECT_EQ(eval_pieces(), 24);

    // And back: the full initial army is not an endgame.
    ASSERT_EQ(process_fen(START_FEN), 1);
    is_endgame = 1;
    eval_pawns();
    ASSERT_EQ(hp_search(&v), 1);
    EXPECT_EQ(endgame(), 0);
    EXPECT_EQ(hp_search(&v), 0);
    is_endgame = 0;
    EXPECT_EQ(endgame(), 0);
}

TEST(EvalCache, EvalCountsOneProbeOfEachTablePerCall) {
    ASSERT_EQ(process_fen(KNIGHT_AND_EDGE_PAWNS), 1);
    is_endgame = 0;
    const counters c0 = now();
    const int first = eval(-10000, 10000);
    const counters c1 = now();
    EXPECT_EQ(c1.hp_miss - c0.hp_miss, 1);
    EXPECT_EQ(c1.hm_miss - c0.hm_miss, 1);
    EXPECT_EQ(eval(-10000, 10000), first);
    const counters c2 = now();
    EXPECT_EQ(c2.hp_hit - c1.hp_hit, 1);
    EXPECT_EQ(c2.hm_hit - c1.hm_hit, 1);
    EXPECT_EQ(c2.hp_miss, c1.hp_miss);
    EXPECT_EQ(c2.hm_miss, c1.hm_miss);
}
