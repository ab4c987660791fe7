// search/root_copy.cpp: publishing the main thread's root and taking it in a helper.
#include "search/root_copy.h"
#include "bitboard/pieces.h"
#include "eval/eval.h"
#include "hash/keys.h"
#include "moves/gen.h"
#include "moves/make.h"
#include "search/driver.h"

namespace {

// The main thread's alone: written by it between searches, read by the
// helpers once they are woken.
struct root_position {
    board_copy board;
    uint64_t checksum, pawn_key, material_key;
    int material_balance;
};
root_position root;

}  // namespace

void publish_root() {
    save_board(&root.board);
    root.checksum = master_checksum;
    root.pawn_key = master_pawn;
    root.material_key = master_material;
    root.material_balance = material_balance;
}

void take_root() {
    restore_board(root.board);
    master_checksum = root.checksum;
    master_pawn = root.pawn_key;
    master_material = root.material_key;
    material_balance = root.material_balance;
    init_occupied();
    team_moving = side == LIGHT ? light_occupied : dark_occupied;
    // The root's list as the main thread's caller left it: the search
    // reads it before it generates (only_one), and this thread's is the
    // list of its last root.
    Move2Gen();
}
