// search/root_copy.h: the root position as the helper threads take it from
// the main thread: the board and game record, the keys and the material
// balance; the bitboards are rebuilt from the board.
// Editions: 3.5, 3.0 (publish_root, the other half, is declared in search/driver.h).
#pragma once

void take_root();   // a helper: the position publish_root last published, at ply 0, with its move list
