// search/alphabeta.cpp: the principal variation and the search statistics.
#include "search/alphabeta.h"

tagLINE var_princ;
long chash[12];
long branch[20];
