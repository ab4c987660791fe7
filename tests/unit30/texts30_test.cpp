// Edition 3.0's console texts that a transcript cannot pin: the speed line,
// printed only after searches of a second or more.
#include "frontend/edition_hooks.h"
#include "frontend/hooks35_30.h"
#include "search/state.h"
#include "test_util.h"

TEST(Texts30, SpeedLineHasABlankBeforeTheColonAndNoNodeLine) {
    const long kept_nodes = nodes;
    const int kept_eval = eval_global;
    nodes = 5000;
    eval_global = -12;
    EXPECT_EQ(printed_by([] { print_search_speed(2); }), "NPS : 2500 - Evaluacion: -12 ..... ");
    EXPECT_EQ(printed_by([] { print_search_speed(0); }), "");
    nodes = kept_nodes;
    eval_global = kept_eval;
}

TEST(Texts30, NameAndMaterialLabel) {
    EXPECT_STREQ(ENGINE_NAME_LINE, "id name ZORVU 3.0 ");
    EXPECT_STREQ(MATERIAL_RESULTS_LABEL, "\nHash material results: ");
    EXPECT_EQ(HELP_LINE_COUNT, 17);
}
