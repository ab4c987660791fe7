// editions/v30/texts.cpp: the console texts of edition 3.0.
#include "frontend/texts.h"
#include "frontend/commands.h"
#include "bitboard/bitboard.h"
#include "board/position.h"
#include "editions/v30/gen.h"
#include "eval/eval.h"
#include "eval/pawns.h"
#include "eval/pieces.h"
#include "moves/gen.h"
#include "search/state.h"
#include <cstdio>

const char* const ENGINE_NAME_LINE = "id name ZORVU 3.0 ";

const char* const HELP_LINES[] = {
    "setboard x --> accept position en FEN notation",
    "on -----> Zorvu juega para el lado que mueve",
    "off ----> Zorvu se detiene",
    "st n ---> busqueda para n segundos por jugada",
    "sd n ---> busca n ply's por jugada",
    "undo ---> retrocede una jugada",
    "new ----> nueva partida",
    "ev -----> evaluaciones e informacion de control",
    "lj -----> jugadas posibles en la posicion",
    "d ------> muestra estado del tablero",
    "mr -----> Lista de jugadas hasta el momento",
    "ab -----> La siguiente jugada se agregara al book ",
    "fn -----> Tablero en notacion forsyth",
    "xboard -> pasa a modo XBoard ",
    "help ---> muestra lo que estas viendo ",
    "bye ----> sale del programa ",
    "Ingrese las jugadas en coordenandas, e.g., e2e4, e7e8q,h7h8n,f7f8b ",
};
const int HELP_LINE_COUNT = sizeof HELP_LINES / sizeof HELP_LINES[0];

const char* const MATERIAL_RESULTS_LABEL = "\nHash material results: ";

void cmd_occ() {
    std::printf("at cab n \n");
    muestra_BitBoard(knight_attack_set(DARK));
    std::printf("at cab l \n");
    muestra_BitBoard(knight_attack_set(LIGHT));
}

void cmd_ev() {
    print_evaluation_terms();
}

// The quiescence search counts into `nodes`; there is no node-count line.
void print_search_speed(long seconds) {
    if (seconds >= 1) std::printf("NPS : %ld - Evaluacion: %d ..... ", nodes / seconds, eval_global);
}
