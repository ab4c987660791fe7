// search/quiesce.h: the capture search at the leaves of the full-width
// search, so that only quiet positions are evaluated.
// Editions: 3.5; 3.0 has editions/v30/quiesce.h, 2.3 editions/v23/search23.h.
#pragma once
#include "search/state.h"

int quiesce(int alpha, int beta, int qply, int qmax);
// Out of check: a capture that cannot raise alpha by the margin, or whose
// ordering score says it loses material, is not tried (and counted).
bool skip_capture(const gen_rec& g, int margin, int alpha);
