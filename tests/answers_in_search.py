#!/usr/bin/env python3
"""Checks that a program answers while it searches.

  answers_in_search.py PROGRAM uci [--max-ms N]
      In UCI mode: "isready" and "stop" during "go infinite" (several rounds;
      with --max-ms the answers must come within N milliseconds), SIGINT
      ignored, a "stop" already in the pipe behind "go infinite", "quit"
      during a search, and the end of input during "go infinite": each ends
      as it should, with exactly one bestmove per go and exit status 0.
  answers_in_search.py PROGRAM console
      At the console: Ctrl-C during the engine's search plays its best move
      so far and the program goes on; Ctrl-C at the prompt ends it.
Prints the latencies measured; exits non-zero on the first failure.
"""
import os
import queue
import signal
import subprocess
import sys
import tempfile
import threading
import time

ROUNDS = 5
PATIENCE = 5.0   # seconds an answer may take before it counts as missing


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


class Program:
    def __init__(self, path):
        self.dir = tempfile.TemporaryDirectory()   # no book file takes part
        self.proc = subprocess.Popen([path], cwd=self.dir.name, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.proc.stdout:
            self.lines.put((time.monotonic(), line.rstrip("\n")))
        self.lines.put((time.monotonic(), None))

    def send(self, text):
        self.proc.stdin.write(text)
        self.proc.stdin.flush()
        return time.monotonic()

    def wait_for(self, prefix, seen=None):
        """Time of the first line starting with prefix; the lines before it go to seen."""
        deadline = time.monotonic() + PATIENCE
        while True:
            try:
                at, line = self.lines.get(timeout=max(0.0, deadline - time.monotonic()))
            except queue.Empty:
                fail("no line starting with %r within %.0f s" % (prefix, PATIENCE))
            if line is None:
                fail("the program ended before a line starting with %r" % prefix)
            if line.startswith(prefix):
                return at
            if seen is not None:
                seen.append(line)

    def drain(self, seconds):
        end, got = time.monotonic() + seconds, []
        while time.monotonic() < end:
            try:
                got.append(self.lines.get(timeout=end - time.monotonic())[1])
            except queue.Empty:
                break
        return got

    def exit_status(self):
        try:
            return self.proc.wait(timeout=PATIENCE)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            fail("the program did not end")


def uci_program(path):
    p = Program(path)
    p.send("uci\n")
    p.wait_for("uciok")
    return p


def check_uci(path, max_ms):
    worst_ready = worst_stop = 0.0
    p = uci_program(path)
    for _ in range(ROUNDS):
        p.send("position startpos moves e2e4\ngo infinite\n")
        early = p.drain(0.3)
        if any(line and line.startswith("bestmove") for line in early):
            fail("bestmove before stop in go infinite")
        sent = p.send("isready\n")
        worst_ready = max(worst_ready, p.wait_for("readyok") - sent)
        p.proc.send_signal(signal.SIGINT)   # ignored in UCI mode
        sent = p.send("stop\n")
        worst_stop = max(worst_stop, p.wait_for("bestmove") - sent)
    if any(line and line.startswith("bestmove") for line in p.drain(0.2)):
        fail("a second bestmove for one go")
    p.send("quit\n")
    if p.exit_status() != 0:
        fail("exit status after quit")
    print("isready answered within %.1f ms, stop within %.1f ms (worst of %d)"
          % (worst_ready * 1000, worst_stop * 1000, ROUNDS))
    if max_ms is not None and max(worst_ready, worst_stop) * 1000 > max_ms:
        fail("an answer took more than %d ms" % max_ms)

    # "stop" already waiting in the pipe when the search starts.
    p = uci_program(path)
    p.send("position startpos\ngo infinite\nstop\n")
    p.wait_for("bestmove")
    p.send("isready\n")
    p.wait_for("readyok")

    # "quit" ends a search at once, without a bestmove.
    p.send("go depth 30\n")
    p.drain(0.3)
    sent = p.send("quit\n")
    if p.exit_status() != 0:
        fail("exit status after quit during a search")
    print("quit during a search ended the program after %.1f ms" % ((time.monotonic() - sent) * 1000))

    # The end of input during "go infinite" ends the program.
    p = uci_program(path)
    p.send("go infinite\n")
    p.drain(0.2)
    p.proc.stdin.close()
    if p.exit_status() != 0:
        fail("exit status at the end of input during go infinite")


def check_console(path):
    p = Program(path)
    p.send("st 60\non\n")
    p.drain(0.5)
    p.proc.send_signal(signal.SIGINT)
    p.wait_for("Computer's move: ")
    p.send("d\n")
    p.wait_for("8 ")   # the program still answers
    p.drain(0.2)
    p.proc.send_signal(signal.SIGINT)   # at the prompt: ends the program
    if p.exit_status() != -signal.SIGINT:
        fail("Ctrl-C at the prompt did not end the program")
    print("Ctrl-C in the console search played a move; at the prompt it ended the program")


def main():
    if len(sys.argv) < 3 or sys.argv[2] not in ("uci", "console"):
        fail(__doc__)
    path = os.path.abspath(sys.argv[1])
    if sys.argv[2] == "console":
        check_console(path)
    else:
        max_ms = int(sys.argv[4]) if len(sys.argv) > 4 and sys.argv[3] == "--max-ms" else None
        check_uci(path, max_ms)


if __name__ == "__main__":
    main()
