#!/usr/bin/env python3
"""answers_in_search.py PROGRAM uci [--max-ms N] [--threads N] | PROGRAM console

uci: isready and stop during "go infinite" (answered within N ms), SIGINT
ignored, a stop already in the pipe, pondering (no bestmove before
ponderhit, then one on the clock counted from it, naming a ponder move),
quit during a search and the end of input during "go infinite"; one
bestmove per go, exit status 0; all of it searching on N threads.
console: Ctrl-C during the engine's search plays a move; at the prompt it
ends the program.
"""
import os
import queue
import signal
import subprocess
import sys
import tempfile
import threading
import time

PATIENCE = 5.0   # seconds before an answer counts as missing


def fail(message):
    sys.exit("FAIL: " + message)


class Program:
    def __init__(self, path):
        self.dir = tempfile.TemporaryDirectory()   # no book file takes part
        self.proc = subprocess.Popen([path], cwd=self.dir.name, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\n"))
        self.lines.put(None)

    def send(self, text):
        self.proc.stdin.write(text)
        self.proc.stdin.flush()
        return time.monotonic()

    def wait_for(self, prefix):
        """The monotonic time at which the first line starting with prefix came."""
        return self.wait_for_line(prefix)[0]

    def wait_for_line(self, prefix):
        """The first line starting with prefix, and the monotonic time it came."""
        while True:
            try:
                line = self.lines.get(timeout=PATIENCE)
            except queue.Empty:
                fail("no %r within %.0f s" % (prefix, PATIENCE))
            if line is None:
                fail("the program ended before %r" % prefix)
            if line.startswith(prefix):
                return time.monotonic(), line

    def bestmoves_within(self, seconds):
        time.sleep(seconds)
        lines = []
        while not self.lines.empty():
            lines.append(self.lines.get())
        return sum(1 for line in lines if line and line.startswith("bestmove"))

    def status(self):
        try:
            return self.proc.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            fail("the program did not end")


def uci_program(path, threads=1):
    p = Program(path)
    p.send("uci\n")
    p.wait_for("uciok")
    if threads > 1:
        p.send("setoption name Threads value %d\nisready\n" % threads)
        p.wait_for("readyok")
    return p


def check_uci(path, max_ms, threads):
    ready = stop = 0.0
    p = uci_program(path, threads)
    for _ in range(5):
        p.send("position startpos moves e2e4\ngo infinite\n")
        if p.bestmoves_within(0.3):
            fail("bestmove before stop")
        sent = p.send("isready\n")
        ready = max(ready, p.wait_for("readyok") - sent)
        p.proc.send_signal(signal.SIGINT)   # ignored in UCI mode
        sent = p.send("stop\n")
        stop = max(stop, p.wait_for("bestmove") - sent)
    if p.bestmoves_within(0.2):
        fail("two bestmoves for one go")
    p.send("go infinite\nstop\n")   # the stop is already in the pipe
    p.wait_for("bestmove")
    check_ponder(p)
    p.send("go depth 30\n")
    time.sleep(0.3)
    p.send("quit\n")                # ends the search at once
    if p.status() != 0:
        fail("exit status after quit during a search")
    print("isready answered within %.1f ms, stop within %.1f ms" % (ready * 1000, stop * 1000))
    if max_ms is not None and max(ready, stop) * 1000 > max_ms:
        fail("an answer took more than %d ms" % max_ms)

    p = uci_program(path, threads)
    p.send("go infinite\n")
    time.sleep(0.2)
    p.proc.stdin.close()
    if p.status() != 0:
        fail("exit status at the end of input during go infinite")


def check_ponder(p):
    """The clock starts at ponderhit: 2 s left, the move comes within one."""
    p.send("setoption name Ponder value true\nposition startpos moves e2e4\n"
           "go ponder wtime 2000 btime 2000\n")
    if p.bestmoves_within(1.0):
        fail("bestmove before ponderhit")
    sent = p.send("ponderhit\n")
    came, line = p.wait_for_line("bestmove")
    if came - sent > 1.0:
        fail("%.1f s from ponderhit to bestmove on a 2 s clock" % (came - sent))
    if " ponder " not in line:
        fail("no ponder move with Ponder on: " + line)
    p.send("setoption name Ponder value false\n")


def check_console(path):
    p = Program(path)
    p.send("st 60\non\n")
    time.sleep(0.5)
    p.proc.send_signal(signal.SIGINT)
    p.wait_for("Computer's move: ")
    p.send("d\n")
    p.wait_for("8 ")   # the program goes on
    time.sleep(0.2)
    p.proc.send_signal(signal.SIGINT)
    if p.status() != -signal.SIGINT:
        fail("Ctrl-C at the prompt did not end the program")


if __name__ == "__main__":
    if len(sys.argv) < 3 or sys.argv[2] not in ("uci", "console"):
        sys.exit(__doc__)
    program = os.path.abspath(sys.argv[1])
    if sys.argv[2] == "console":
        check_console(program)
    else:
        options = dict(zip(sys.argv[3::2], sys.argv[4::2]))
        check_uci(program, int(options["--max-ms"]) if "--max-ms" in options else None,
                  int(options.get("--threads", 1)))
