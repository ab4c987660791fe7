// frontend/main.cpp: the zorvu35 program.
#include "frontend/console.h"

int main() {
    return console_main();
}
