#!/usr/bin/env python3
"""search_threads.py PROGRAM [DEPTH]

Searches on several threads give legal moves and legal lines: each
bestmove, ponder move and thinking line (MultiPV's too) is played over in
a second program, on one thread, which must take every move. The thread
count changes between searches (2, 4, 1, 3), and the program searches the
same positions again after each change.
"""
import os
import sys

from answers_in_search import fail, uci_program

POSITIONS = [
    "startpos moves e2e4 e7e5 g1f3 b8c6 f1b5",
    "fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "fen 8/6P1/8/8/8/8/1p4K1/k7 w - - 0 1",
    "fen 6k1/5ppp/8/8/8/2N5/1B3PPP/3R2K1 w - - 0 1",
]


def search(p, position, depth):
    """The pv of every thinking line and the bestmove line of one search."""
    p.send("position %s\ngo depth %d\n" % (position, depth))
    lines = []
    while True:
        _, line = p.wait_for_line("")
        if line.startswith("bestmove"):
            return lines, line.split()
        if line.startswith("info") and " pv " in line:
            lines.append(line.split(" pv ", 1)[1].split())


def check_moves(checker, position, moves):
    """The checker takes every move of the sequence from the position."""
    joined = " ".join(moves)
    checker.send("position %s %s\nisready\n" % (position, joined if " moves " in position else "moves " + joined))
    while True:
        _, line = checker.wait_for_line("")
        if line == "readyok":
            return
        if line.startswith("info string"):
            fail("%s after position %s: %s" % (line, position, joined))


def main():
    program = os.path.abspath(sys.argv[1])
    depth = int(sys.argv[2]) if len(sys.argv) > 2 else 6
    p = uci_program(program)
    checker = uci_program(program)
    for threads in (2, 4, 1, 3):
        p.send("setoption name Threads value %d\nisready\n" % threads)
        p.wait_for("readyok")
        for position in POSITIONS:
            lines, best = search(p, position, depth)
            if not lines or best[1] == "0000":
                fail("no line or no move at %d threads: %s" % (threads, position))
            for pv in lines:
                check_moves(checker, position, pv)
            check_moves(checker, position, [best[1]] + best[3:4])
    p.send("setoption name Threads value 2\nsetoption name MultiPV value 3\n")
    lines, best = search(p, POSITIONS[1], depth - 2)
    firsts = {pv[0] for pv in lines}
    if len(firsts) < 3:
        fail("MultiPV 3 on 2 threads showed %d first moves" % len(firsts))
    for pv in lines:
        check_moves(checker, POSITIONS[1], pv)
    p.send("quit\n")
    checker.send("quit\n")
    if p.status() != 0 or checker.status() != 0:
        fail("exit status")
    print("legal moves and lines on 1 to 4 threads")


if __name__ == "__main__":
    main()
