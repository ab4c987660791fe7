// frontend/texts.cpp: the console texts of edition 3.5: its name, its help,
// "occ", "ev" and the speed line after the engine's search; the rest of its
// front-end hooks is frontend/hooks35_30.cpp, shared with edition 3.0.
#include "frontend/edition_hooks.h"
#include "bitboard/rotated.h"
#include "eval/eval.h"
#include "frontend/commands.h"
#include "frontend/hooks35_30.h"
#include "search/state.h"
#include <cinttypes>
#include <cstdio>

const char* const ENGINE_NAME_LINE = "id name ZORVU 3.5 ";
const char* const EDITION_NUMBER = "3.5";

const char* const HELP_LINES[] = {
    "setboard x >>> accept position en FEN notation",
    "on >>>>>>>>>>> Zorvu juega para el lado que mueve",
    "off >>>>>>>>>> Zorvu se detiene",
    "st n >>>>>>>>> busqueda para n segundos por jugada",
    "sd n >>>>>>>>> busca n ply's por jugada",
    "undo >>>>>>>>> retrocede una jugada",
    "new >>>>>>>>>> nueva partida",
    "ev >>>>>>>>>>> evaluaciones e informacion de control",
    "lj >>>>>>>>>>> jugadas posibles en la posicion",
    "d >>>>>>>>>>>> muestra estado del tablero",
    "mr >>>>>>>>>>> Lista de jugadas hasta el momento",
    "ab >>>>>>>>>>> La siguiente jugada se agregara al book ",
    "fn >>>>>>>>>>> Tablero en notacion forsyth",
    "xboard >>>>>>> pasa a modo XBoard ",
    "help >>>>>>>>> muestra lo que estas viendo ",
    "bye >>>>>>>>>> sale del programa ",
    "Ingrese las jugadas en coordenandas, e.g., e2e4, e7e8q,h7h8n,f7f8b ",
};
const int HELP_LINE_COUNT = sizeof HELP_LINES / sizeof HELP_LINES[0];

const char* const MATERIAL_RESULTS_LABEL = " - Hash material results: ";

// The occupied squares and their rotation, without labels.
void cmd_occ() {
    print_square_set("", casillas_ocupadas);
    print_square_set("", casillas_ocupadas_90R);
}

void cmd_ev() {
    print_evaluation_terms();
    std::printf("Evaluacion material: %d\n", material_balance);
}

void print_search_speed(long seconds) {
    if (seconds >= 1) std::printf("NPS: %" PRId64 " - Evaluacion: %d ..... ", (nodes + qnodes) / seconds, eval_global);
    std::printf("\nNodes: %" PRId64 " Qnodes: %" PRId64 "\n", nodes, qnodes);
}
