// frontend/texts.h: what the console prints differently in each edition:
// its name, its help, "occ", "ev", and the lines after the engine's search.
#pragma once

extern const char* const ENGINE_NAME_LINE;     // the "id name" line
extern const char* const HELP_LINES[];         // the help, one line each
extern const int HELP_LINE_COUNT;
extern const char* const MATERIAL_RESULTS_LABEL;   // opens the material-table statistics

void cmd_occ();
void cmd_ev();
void print_search_speed(long seconds);   // the speed (searches of a second or more) and node lines
