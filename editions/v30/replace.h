// editions/v30/replace.h: edition 3.0's transposition-table rules: one home
// slot per position and side, replacement by depth and age, and the mark of
// nodes where every move failed low.
// Editions: 3.0.
#pragma once
#include "hash/table.h"

// Marks the current position's entry, if it has one, as a node where no
// move raised alpha. Every store clears the mark again.
void hash_alpha_node_update();
