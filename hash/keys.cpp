// hash/keys.cpp: the random generator, the piece keys and the piece toggle.
#include "hash/keys.h"
#include "board/position.h"
#include "hash/evalcache.h"
#include "hash/table.h"

uint64_t hash_checksum[64][2][6];
const uint64_t side_corr[2] = {0xAAAA, 0xDDDD};
constinit thread_local uint64_t master_checksum{};
constinit thread_local uint64_t master_pawn{};
constinit thread_local uint64_t master_material{};

// Start table of the generator; every run draws the same sequence from it.
const uint32_t rand_x[55] = {
    0x3A85A4DCu, 0xD443C47Cu, 0x6DC47761u, 0x28F0AE6Au, 0xE48A855Eu, 0x21871330u,
    0x2702C2FDu, 0x4784CB12u, 0x83A3F88Eu, 0xC6B6C90Eu, 0x6D5FE21Cu, 0xD50F11F9u,
    0xBDBEB6DCu, 0x4FF3511Au, 0x9FDF0574u, 0x6B65B406u, 0x888EB791u, 0x6A15576Eu,
    0x9096D3E9u, 0x06874899u, 0x6E2CE103u, 0x0A9FAA6Du, 0xDB998DC1u, 0xC7CD18D7u,
    0x72C33FCEu, 0x5D2A033Eu, 0x7EEBB517u, 0x3D036000u, 0xAE691B21u, 0xD6707698u,
    0xD22FC4B9u, 0x19481338u, 0xFB070EFCu, 0xC2E3A9A8u, 0x348C36F6u, 0xF1BB1BD8u,
    0xC82915CBu, 0x1687E355u, 0x61980FFAu, 0x288E4C34u, 0x7B76D269u, 0x690D4669u,
    0x253A581Eu, 0xE923E53Au, 0xC9E9FD79u, 0x673C14CFu, 0xB2D0963Cu, 0xAD9DF6B7u,
    0x59C7D362u, 0x5AF17618u, 0xC86DFC0Cu, 0xD7C82C93u, 0x29CD3FA3u, 0x1B67FC3Du,
    0x6EAED22Bu,
};

uint32_t rand_y[55];
int rand_j, rand_k;
int rand_started = 0;

uint64_t myrand() {
    if (!rand_started) {
        for (int i = 0; i < 55; i++) rand_y[i] = rand_x[i];
        rand_j = 23;
        rand_k = 54;
        rand_started = 1;
    }
    rand_y[rand_k] += rand_y[rand_j];   // modulo 2^32
    uint64_t result = rand_y[rand_k];
    if (--rand_j < 0) rand_j = 54;
    if (--rand_k < 0) rand_k = 54;
    return result;
}

void hash_init() {
    master_pawn = master_material = master_checksum = 0;
    for (int sq = 0; sq < 64; sq++)
        for (int c = 0; c < 2; c++)
            for (int p = 0; p < 6; p++) hash_checksum[sq][c][p] = myrand();
    clear_hash();
    clear_p_hash();
    clear_m_hash();
}

// The toggles makemove makes: each flips the mover's side correction and the
// en passant square then current (the old one until the moving man lands,
// the new one from then on), so the two rook toggles of a castling cancel
// theirs.
uint64_t key_after(move_bytes m) {
    const int from = m.from, to = m.to, bits = m.bits, c = side;
    const uint64_t old_ep = uint64_t(int64_t(ep));
    const int new_ep_sq = (bits & MF_DOUBLE) ? (c == LIGHT ? to + 8 : to - 8) : -1;
    const uint64_t new_ep = uint64_t(int64_t(new_ep_sq));
    const uint64_t corr = side_corr[c];
    uint64_t key = master_checksum;
    if (bits & MF_CASTLE) {
        const bool short_side = (to & 7) == 6;
        const int rook_from = short_side ? to + 1 : to - 2, rook_to = short_side ? to - 1 : to + 1;
        key ^= hash_checksum[rook_from][c][ROOK] ^ hash_checksum[rook_to][c][ROOK];
    }
    key ^= hash_checksum[from][c][piece[from]] ^ corr ^ old_ep;
    if (piece[to] != EMPTY) key ^= hash_checksum[to][color[to]][piece[to]] ^ corr ^ old_ep;
    const int lands = (bits & MF_PROMOTE) ? m.promote : piece[from];
    key ^= hash_checksum[to][c][lands] ^ corr ^ new_ep;
    if (bits & MF_EP) key ^= hash_checksum[c == LIGHT ? to + 8 : to - 8][c ^ 1][PAWN] ^ corr ^ new_ep;
    return key;
}
