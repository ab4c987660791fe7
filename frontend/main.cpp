// frontend/main.cpp: the program of every edition (zorvu35, zorvu30 and
// zorvu are each built from it with their edition's library).
#include "frontend/console.h"

int main() {
    return console_main();
}
