#!/usr/bin/env python3
"""threads.py PROGRAM DEPTH [THREADS ...]

Time to a fixed depth on one thread and on more (default: 1 and 2), over
twenty middlegame positions, in UCI mode: each search starts from an empty
table ("ucinewgame"). Prints per position the seconds and the nodes per
second at each thread count, then the medians of the time ratios and the
speed ratios against one thread. Figures only: nothing here fails.
"""
import statistics
import subprocess
import sys
import time

POSITIONS = [
    "fen rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5",
    "fen rnbqk2r/ppp1bppp/4pn2/3p2B1/2PP4/2N5/PP2PPPP/R2QKBNR w KQkq - 4 5",
    "fen r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5",
    "fen r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10",
    "fen r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
    "fen 2rq1rk1/pp1bppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 7 11",
    "fen r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13",
    "fen r1bq1rk1/pp3ppp/2nbpn2/3p4/2PP4/1PNB1N2/5PPP/2BQ1RK1 b - - 0 9",
    "fen r1bq1rk1/pppn1ppp/4p3/3pP3/1b1P4/2NB1N2/PPP2PPP/R2QK2R w KQ - 0 8",
    "fen r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 8",
    "startpos moves e2e4 e7e5 g1f3 b8c6 f1b5 a7a6 b5a4 g8f6 e1g1 f8e7 f1e1 b7b5 a4b3 d7d6 c2c3 e8g8 h2h3",
    "startpos moves e2e4 c7c5 g1f3 d7d6 d2d4 c5d4 f3d4 g8f6 b1c3 a7a6 c1e3 e7e5 d4b3 c8e6 f2f3 f8e7 d1d2",
    "startpos moves d2d4 d7d5 c2c4 e7e6 b1c3 g8f6 c1g5 f8e7 e2e3 e8g8 g1f3 b8d7 a1c1 c7c6 f1d3 d5c4 d3c4",
    "startpos moves d2d4 g8f6 c2c4 g7g6 b1c3 f8g7 e2e4 d7d6 g1f3 e8g8 f1e2 e7e5 e1g1 b8c6 d4d5 c6e7",
    "startpos moves e2e4 e7e6 d2d4 d7d5 b1c3 f8b4 e4e5 c7c5 a2a3 b4c3 b2c3 g8e7 d1g4 d8c7",
    "startpos moves e2e4 c7c6 d2d4 d7d5 b1c3 d5e4 c3e4 c8f5 e4g3 f5g6 h2h4 h7h6 g1f3 b8d7 h4h5 g6h7 f1d3 h7d3 d1d3",
    "startpos moves c2c4 e7e5 b1c3 g8f6 g1f3 b8c6 g2g3 d7d5 c4d5 f6d5 f1g2 d5b6 e1g1 f8e7 d2d3 e8g8",
    "startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 f8c5 c2c3 g8f6 d2d3 d7d6 e1g1 e8g8 f1e1 a7a6 a2a4 c5a7 h2h3",
    "startpos moves d2d4 d7d5 c2c4 c7c6 g1f3 g8f6 b1c3 d5c4 a2a4 c8f5 e2e3 e7e6 f1c4 f8b4 e1g1 e8g8 d1e2",
    "startpos moves d2d4 g8f6 c2c4 e7e6 b1c3 f8b4 d1c2 e8g8 a2a3 b4c3 c2c3 b7b6 c1g5 c8b7 f2f3 h7h6 g5h4 d7d5",
]


class Engine:
    def __init__(self, path):
        self.proc = subprocess.Popen([path], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, bufsize=1)
        self.ask("uci", "uciok")

    def send(self, text):
        self.proc.stdin.write(text + "\n")
        self.proc.stdin.flush()

    def ask(self, text, answer):
        """Sends text; the lines up to the one starting with answer, that one last."""
        self.send(text)
        lines = []
        for line in self.proc.stdout:
            lines.append(line.rstrip("\n"))
            if line.startswith(answer):
                return lines
        sys.exit("the program ended")

    def timed_search(self, threads, position, depth):
        """Seconds from go to bestmove, and the nodes of the last info line."""
        for line in self.ask("setoption name Threads value %d\nucinewgame\nposition %s\nisready"
                             % (threads, position), "readyok"):
            if line.startswith("info string"):
                sys.exit("position %s: %s" % (position, line))
        start = time.monotonic()
        lines = self.ask("go depth %d" % depth, "bestmove")
        seconds = time.monotonic() - start
        nodes = 0
        for line in lines:
            words = line.split()
            if "nodes" in words:
                nodes = int(words[words.index("nodes") + 1])
        return seconds, nodes


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    engine = Engine(sys.argv[1])
    depth = int(sys.argv[2])
    counts = [int(t) for t in sys.argv[3:]] or [1, 2]
    times = {t: [] for t in counts}
    speeds = {t: [] for t in counts}
    for k, position in enumerate(POSITIONS, 1):
        row = []
        for t in counts:
            seconds, nodes = engine.timed_search(t, position, depth)
            times[t].append(seconds)
            speeds[t].append(nodes / max(seconds, 1e-6))
            row.append("%d threads %7.3f s %9.0f nps" % (t, seconds, speeds[t][-1]))
        print("%2d  %s" % (k, "  ".join(row)))
    base = counts[0]
    for t in counts[1:]:
        time_ratio = statistics.median(a / b for a, b in zip(times[t], times[base]))
        speed_ratio = statistics.median(a / b for a, b in zip(speeds[t], speeds[base]))
        print("depth %d, %d threads against %d: median time ratio %.3f, median nps ratio %.3f"
              % (depth, t, base, time_ratio, speed_ratio))
    engine.send("quit")


if __name__ == "__main__":
    main()
