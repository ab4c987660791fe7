// editions/v30/quiesce.h: edition 3.0's capture search at the leaves of the
// full-width search, so that only quiet positions are evaluated.
// Editions: 3.0.
#pragma once
#include "search/state.h"

// Beyond this ply the quiescence search only evaluates: a move made at this
// ply is the last the undo records hold (MAX_PLY - 2).
constexpr int QUIESCE_LAST_PLY = 30;
static_assert(QUIESCE_LAST_PLY <= MAX_PLY - 2);

// Margin added to the stand-pat score before a capture must reach alpha.
constexpr int QUIESCE_MARGIN = 250;

int quiesce(int alpha, int beta, int qply, int qmax);
