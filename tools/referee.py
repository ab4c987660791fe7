#!/usr/bin/env python3
"""Referee for soak games between engine programs speaking the XBoard or the UCI protocol.

The referee keeps its own board and its own legal-move generator (a 10x12
mailbox written here from scratch, independent of the engine's generator),
so a move the engine thinks legal is judged by a second opinion.

Usage:
  referee.py --selftest [--quick]
  referee.py --engine-a PROG [--engine-b PROG] [--name-a NAME] [--name-b NAME] [options]

Each engine runs in its own empty temporary directory (no opening book takes
part).  An XBoard engine is sent "xboard", "new", the search limit, "force"
and the opening moves; the side on move then gets "go" and from then on every
engine answers each move it receives by itself.  A UCI engine (--proto-a/-b
uci) is sent "uci" (lines before "uciok" are skipped, so a program that starts
at a console prompt and switches on "uci" takes part), its options,
"ucinewgame" and "isready"; for each of its moves it gets "position startpos
moves ..." with the whole game and "go" with the limit: "sd N" becomes
"depth N", "st S" "movetime"; the last principal variation it prints before
"bestmove" must be legal.  With --tc BASE+INC (seconds) the referee keeps a
clock per side by the wall clock, from the moment the engine is told to think
until its move line arrives; UCI engines are sent wtime/btime/winc/binc,
XBoard ones "level" and "time"/"otim" before each move.
With --ponder (or --ponder-a/--ponder-b for one side) the UCI engines ponder:
they are sent "setoption name Ponder value true", and after "bestmove X ponder
Y", when Y is legal after X, the position with X and Y and "go ponder" with the
clocks as they stand (its own after X).  When the opponent plays Y the engine
gets "ponderhit" and its clock runs from then; any other move gets "stop", its
answer is discarded and the engine is sent the real position and "go".  At the
end of a game a pondering engine gets "stop" before "quit".  A bestmove that
comes while an engine ponders, before "ponderhit" or "stop", is a ponder fault;
the engine is then sent the real position and "go" as without pondering.  The
per-move timeout does not run while an engine ponders; it runs from the
"ponderhit" or the "stop".  The summary gives each side's ponder hits (the
opponent played the expected move) out of the ponder searches it started.
The referee decides how a game ends: checkmate, stalemate, the 50-move rule,
threefold repetition, insufficient material, or a ply cap adjudicated as a
draw.  Faults are counted per engine: illegal (or malformed) moves or
principal variations, crashes (early exit, death by a signal, a sanitizer
report on stderr), hangs (no move within the per-move timeout, no "uciok" or
"readyok", no bestmove after "stop"), rejections (the engine refused a legal
move it was sent), time losses (a move that arrived after the clock ran out)
and ponder faults (see --ponder).
It prints a line per finished game (the result, who won, how the game ended,
its plies and the running score of the pairing; --quiet keeps only those of
games with faults, --verbose adds the time, the opening and the full reason),
then a summary of the pairing.
"""

import argparse
import contextlib
import io
import os
import queue
import random
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# ---------------------------------------------------------------------------
# Board and move generation
# ---------------------------------------------------------------------------
# Squares are indexes into a 120-entry list: rank 8 is row 2 of the mailbox,
# so a8 = 21 and h1 = 98.  Off-board entries hold ' ', empty squares '.',
# white men upper-case letters and black men lower-case ones.

OFF, EMPTY = ' ', '.'
N, S, E, W = -10, 10, 1, -1
KNIGHT_STEPS = (-21, -19, -12, -8, 8, 12, 19, 21)
KING_STEPS = (N, S, E, W, N + E, N + W, S + E, S + W)
BISHOP_STEPS = (N + E, N + W, S + E, S + W)
ROOK_STEPS = (N, S, E, W)

# Castling rights as bits.
WK, WQ, BK, BQ = 1, 2, 4, 8

START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"


def square(file, rank):
    """Mailbox index of file 0..7 (a..h) and rank 0..7 (1..8)."""
    return 21 + file + (7 - rank) * 10


def square_name(sq):
    return "abcdefgh"[(sq - 21) % 10] + str(8 - (sq - 21) // 10)


def parse_square(text):
    return square(ord(text[0]) - ord('a'), ord(text[1]) - ord('1'))


A1, E1, H1 = square(0, 0), square(4, 0), square(7, 0)
A8, E8, H8 = square(0, 7), square(4, 7), square(7, 7)
# The right lost when a man leaves or is captured on a square.
RIGHTS_TOUCHED = {A1: WQ, E1: WK | WQ, H1: WK, A8: BQ, E8: BK | BQ, H8: BK}
BOARD_SQUARES = [square(f, r) for r in range(7, -1, -1) for f in range(8)]


class Move(tuple):
    """(from, to, promotion letter or '') with the coordinate text."""
    __slots__ = ()

    def __new__(cls, frm, to, promo=''):
        return tuple.__new__(cls, (frm, to, promo))

    @property
    def text(self):
        return square_name(self[0]) + square_name(self[1]) + self[2]


class Position:
    def __init__(self, fen=START_FEN):
        self.set_fen(fen)

    def set_fen(self, fen):
        fields = fen.split()
        if len(fields) < 4:
            raise ValueError("FEN needs at least four fields: " + fen)
        self.board = [OFF] * 120
        ranks = fields[0].split('/')
        if len(ranks) != 8:
            raise ValueError("FEN needs eight ranks: " + fen)
        for i, row in enumerate(ranks):
            f = 0
            for c in row:
                if c.isdigit():
                    for _ in range(int(c)):
                        self.board[square(f, 7 - i)] = EMPTY
                        f += 1
                elif c in "PNBRQKpnbrqk":
                    self.board[square(f, 7 - i)] = c
                    f += 1
                else:
                    raise ValueError("bad piece letter in FEN: " + c)
            if f != 8:
                raise ValueError("FEN rank of wrong length: " + row)
        self.white = fields[1] == 'w'
        self.castle = 0
        for c, bit in (('K', WK), ('Q', WQ), ('k', BK), ('q', BQ)):
            if c in fields[2]:
                self.castle |= bit
        self.ep = None if fields[3] == '-' else parse_square(fields[3])
        self.halfmove = int(fields[4]) if len(fields) > 4 else 0
        self.fullmove = int(fields[5]) if len(fields) > 5 else 1
        self.kings = {True: self.board.index('K'), False: self.board.index('k')}

    def fen(self):
        rows = []
        for r in range(7, -1, -1):
            row, gap = '', 0
            for f in range(8):
                c = self.board[square(f, r)]
                if c == EMPTY:
                    gap += 1
                else:
                    row += (str(gap) if gap else '') + c
                    gap = 0
            rows.append(row + (str(gap) if gap else ''))
        rights = ''.join(c for c, bit in (('K', WK), ('Q', WQ), ('k', BK), ('q', BQ))
                         if self.castle & bit) or '-'
        ep = square_name(self.ep) if self.ep is not None else '-'
        return "%s %s %s %s %d %d" % ('/'.join(rows), 'w' if self.white else 'b',
                                      rights, ep, self.halfmove, self.fullmove)

    # -- attacks ------------------------------------------------------------

    def attacked(self, sq, by_white):
        """Is square sq attacked by a man of the given colour?"""
        b = self.board
        if by_white:
            pawn, knight, bishop, rook, queen, king = 'PNBRQK'
            # A white pawn attacks upwards, so it stands one rank below.
            if b[sq + 9] == pawn or b[sq + 11] == pawn:
                return True
        else:
            pawn, knight, bishop, rook, queen, king = 'pnbrqk'
            if b[sq - 9] == pawn or b[sq - 11] == pawn:
                return True
        for d in KNIGHT_STEPS:
            if b[sq + d] == knight:
                return True
        for d in KING_STEPS:
            if b[sq + d] == king:
                return True
        for d in BISHOP_STEPS:
            t = sq + d
            while b[t] == EMPTY:
                t += d
            if b[t] == bishop or b[t] == queen:
                return True
        for d in ROOK_STEPS:
            t = sq + d
            while b[t] == EMPTY:
                t += d
            if b[t] == rook or b[t] == queen:
                return True
        return False

    def in_check(self, white=None):
        if white is None:
            white = self.white
        return self.attacked(self.kings[white], not white)

    # -- generation -----------------------------------------------------------

    def pseudo_moves(self):
        b = self.board
        white = self.white
        own = str.isupper if white else str.islower
        enemy = str.islower if white else str.isupper
        moves = []
        add = moves.append
        for sq in BOARD_SQUARES:
            p = b[sq]
            if p == EMPTY or not own(p):
                continue
            kind = p.upper()
            if kind == 'P':
                fwd = N if white else S
                last = (sq + fwd - 21) // 10 == (0 if white else 7)
                start_row = 8 if white else 3   # mailbox row of rank 2 / rank 7
                t = sq + fwd
                if b[t] == EMPTY:
                    if last:
                        for pr in 'qrbn':
                            add(Move(sq, t, pr))
                    else:
                        add(Move(sq, t))
                        if sq // 10 == start_row and b[t + fwd] == EMPTY:
                            add(Move(sq, t + fwd))
                for t in (sq + fwd + W, sq + fwd + E):
                    q = b[t]
                    if q != OFF and q != EMPTY and enemy(q):
                        if last:
                            for pr in 'qrbn':
                                add(Move(sq, t, pr))
                        else:
                            add(Move(sq, t))
                    elif t == self.ep:
                        add(Move(sq, t))
            elif kind == 'N' or kind == 'K':
                for d in (KNIGHT_STEPS if kind == 'N' else KING_STEPS):
                    t = sq + d
                    q = b[t]
                    if q == EMPTY or (q != OFF and enemy(q)):
                        add(Move(sq, t))
            else:
                steps = BISHOP_STEPS if kind == 'B' else ROOK_STEPS if kind == 'R' else KING_STEPS
                for d in steps:
                    t = sq + d
                    while b[t] == EMPTY:
                        add(Move(sq, t))
                        t += d
                    q = b[t]
                    if q != OFF and enemy(q):
                        add(Move(sq, t))
        self._castling_moves(add)
        return moves

    def _castling_moves(self, add):
        b = self.board
        if self.white:
            rights, king_sq, king, rook, them = (WK, WQ), E1, 'K', 'R', False
        else:
            rights, king_sq, king, rook, them = (BK, BQ), E8, 'k', 'r', True
        if b[king_sq] != king or not self.castle & (rights[0] | rights[1]):
            return
        if self.attacked(king_sq, them):
            return
        if (self.castle & rights[0] and b[king_sq + 3] == rook
                and b[king_sq + 1] == EMPTY and b[king_sq + 2] == EMPTY
                and not self.attacked(king_sq + 1, them)):
            add(Move(king_sq, king_sq + 2))   # the destination is tested with the rest
        if (self.castle & rights[1] and b[king_sq - 4] == rook
                and b[king_sq - 1] == EMPTY and b[king_sq - 2] == EMPTY
                and b[king_sq - 3] == EMPTY and not self.attacked(king_sq - 1, them)):
            add(Move(king_sq, king_sq - 2))

    def make(self, m):
        """Plays move m (assumed pseudo-legal); returns what undo() needs."""
        frm, to, promo = m
        b = self.board
        p = b[frm]
        captured = b[to]
        undo = (m, captured, self.castle, self.ep, self.halfmove, self.fullmove)
        kind = p.upper()
        b[to] = p
        b[frm] = EMPTY
        new_ep = None
        if kind == 'P':
            if to == self.ep:
                # En passant: the captured pawn stands beside the mover's origin.
                b[to + (S if self.white else N)] = EMPTY
            elif abs(to - frm) == 20:
                new_ep = (to + frm) // 2
            if promo:
                b[to] = promo.upper() if self.white else promo
        elif kind == 'K':
            self.kings[self.white] = to
            if to - frm == 2:
                b[frm + 1], b[frm + 3] = b[frm + 3], EMPTY
            elif frm - to == 2:
                b[frm - 1], b[frm - 4] = b[frm - 4], EMPTY
        self.castle &= ~(RIGHTS_TOUCHED.get(frm, 0) | RIGHTS_TOUCHED.get(to, 0))
        self.ep = new_ep
        self.halfmove = 0 if kind == 'P' or captured != EMPTY else self.halfmove + 1
        if not self.white:
            self.fullmove += 1
        self.white = not self.white
        return undo

    def undo(self, undo):
        m, captured, self.castle, self.ep, self.halfmove, self.fullmove = undo
        frm, to, promo = m
        self.white = not self.white
        b = self.board
        p = b[to]
        if promo:
            p = 'P' if self.white else 'p'
        b[frm] = p
        b[to] = captured
        kind = p.upper()
        if kind == 'P' and to == self.ep:
            b[to + (S if self.white else N)] = 'p' if self.white else 'P'
        elif kind == 'K':
            self.kings[self.white] = frm
            if to - frm == 2:
                b[frm + 3], b[frm + 1] = b[frm + 1], EMPTY
            elif frm - to == 2:
                b[frm - 4], b[frm - 1] = b[frm - 1], EMPTY

    def legal_moves(self):
        result = []
        mover = self.white
        for m in self.pseudo_moves():
            u = self.make(m)
            if not self.attacked(self.kings[mover], not mover):
                result.append(m)
            self.undo(u)
        return result

    def perft(self, depth):
        moves = self.legal_moves()
        if depth == 1:
            return len(moves)
        total = 0
        for m in moves:
            u = self.make(m)
            total += self.perft(depth - 1)
            self.undo(u)
        return total

    # -- game rules -----------------------------------------------------------

    def repetition_key(self, legal):
        """The position as the repetition rule sees it: men, side, rights and
        the en passant square only when an en passant capture is legal."""
        ep = None
        if self.ep is not None:
            pawn = 'P' if self.white else 'p'
            if any(m[1] == self.ep and self.board[m[0]] == pawn for m in legal):
                ep = self.ep
        return (''.join(self.board[sq] for sq in BOARD_SQUARES), self.white, self.castle, ep)

    def insufficient_material(self):
        """No series of legal moves can mate: bare kings, a single minor piece,
        or only bishops all standing on squares of one colour."""
        minors = []
        for sq in BOARD_SQUARES:
            p = self.board[sq]
            if p in 'PpRrQq':
                return False
            if p in 'NnBb':
                minors.append((p.upper(), sq))
        if len(minors) <= 1:
            return True
        if any(kind == 'N' for kind, _ in minors):
            return False
        colours = {((sq % 10) + (sq // 10)) % 2 for _, sq in minors}
        return len(colours) == 1


MOVE_TEXT = re.compile(r'^[a-h][1-8][a-h][1-8][qrbn]?$')


def find_move(legal, text):
    """The legal move the coordinate text names, or None."""
    if not MOVE_TEXT.match(text):
        return None
    for m in legal:
        if m.text == text:
            return m
    return None


# ---------------------------------------------------------------------------
# Self test
# ---------------------------------------------------------------------------

PERFT_CASES = [
    (START_FEN, [20, 400, 8902, 197281]),
    ("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1", [48, 2039, 97862]),
    ("8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1", [14, 191, 2812, 43238]),
    ("r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1", [6, 264, 9467]),
    ("rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8", [44, 1486, 62379]),
]


def rules_selftest():
    """Checks of the game-end rules; returns a list of failures."""
    failures = []

    def expect(what, got, want):
        if got != want:
            failures.append("%s: got %r, want %r" % (what, got, want))

    # Fool's mate: white is mated.
    p = Position()
    for t in ("f2f3", "e7e5", "g2g4", "d8h4"):
        p.make(find_move(p.legal_moves(), t))
    expect("fool's mate moves", len(p.legal_moves()), 0)
    expect("fool's mate check", p.in_check(), True)
    # Stalemate: black king on a8 with the white queen on b6.
    p = Position("k7/8/1Q6/8/8/8/8/7K b - - 0 1")
    expect("stalemate moves", len(p.legal_moves()), 0)
    expect("stalemate check", p.in_check(), False)
    # Promotions are named with lower-case letters and all four exist.
    p = Position("8/P6k/8/8/8/8/8/K7 w - - 0 1")
    expect("promotions", sorted(m.text for m in p.legal_moves() if m[2]),
           ["a7a8b", "a7a8n", "a7a8q", "a7a8r"])
    expect("promotion without letter", find_move(p.legal_moves(), "a7a8"), None)
    # En passant counts for repetition only when it can be played.
    p = Position("4k3/8/8/8/4p3/8/3P4/4K3 w - - 0 1")
    p.make(find_move(p.legal_moves(), "d2d4"))
    legal = p.legal_moves()
    expect("en passant offered", find_move(legal, "e4d3") is not None, True)
    expect("en passant in key", p.repetition_key(legal)[3], parse_square("d3"))
    p = Position("4k3/8/8/8/4p3/8/3P4/4K3 w - - 0 1")
    p.make(find_move(p.legal_moves(), "d2d3"))
    expect("no en passant in key", p.repetition_key(p.legal_moves())[3], None)
    # En passant that would expose the king along the rank is not legal.
    p = Position("8/8/8/K2pP2r/8/8/8/7k w - d6 0 1")
    expect("pinned en passant", find_move(p.legal_moves(), "e5d6"), None)
    # Castling through an attacked square is refused, into a free one allowed.
    p = Position("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1")
    expect("castling both ways", {m.text for m in p.legal_moves()} >= {"e1g1", "e1c1"}, True)
    p = Position("r3k2r/8/8/8/8/8/8/R3K1rR w KQkq - 0 1")
    expect("castling out of check", find_move(p.legal_moves(), "e1g1"), None)
    p = Position("r3k2r/8/8/8/8/5r2/8/R3K2R w KQkq - 0 1")
    expect("castling through attack", find_move(p.legal_moves(), "e1g1"), None)
    expect("long castling unaffected", find_move(p.legal_moves(), "e1c1") is not None, True)
    # A rook captured on its corner loses the right.
    p = Position("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1")
    p.make(find_move(p.legal_moves(), "a1a8"))
    expect("rights after capture on a8", p.castle, WK | BK)
    # Insufficient material.
    for fen, want in (("8/8/8/4k3/8/8/8/4K3 w - - 0 1", True),
                      ("8/8/8/4k3/8/8/8/4KN2 w - - 0 1", True),
                      ("8/8/8/3bk3/8/8/8/4KB2 w - - 0 1", True),     # d5 and f1: both light
                      ("8/8/8/2b1k3/8/8/8/4KB2 w - - 0 1", False),   # c5 dark, f1 light
                      ("8/8/8/4k3/8/8/8/3NKN2 w - - 0 1", False),
                      ("8/8/8/4k3/8/8/7P/4K3 w - - 0 1", False)):
        expect("insufficient material " + fen, Position(fen).insufficient_material(), want)
    # How a game ends, as the referee decides it.
    class Options:
        max_plies = 250

    def ending(fen, texts, max_plies=250):
        Options.max_plies = max_plies
        game = Game(None, None, ("w", "b"), "sd 1", [], Options())
        pos = Position(fen)
        legal = pos.legal_moves()
        reps = {pos.repetition_key(legal): 1}
        over = game.game_over(pos, legal, reps)
        for t in texts:
            pos.make(find_move(legal, t))
            game.moves.append(t)
            legal = pos.legal_moves()
            key = pos.repetition_key(legal)
            reps[key] = reps.get(key, 0) + 1
            over = game.game_over(pos, legal, reps)
        return (game.result, game.reason) if over else None

    knights = "g1f3 g8f6 f3g1 f6g8".split()
    expect("twice is no repetition", ending(START_FEN, knights), None)
    expect("threefold repetition", ending(START_FEN, knights * 2), ("1/2-1/2", "threefold repetition"))
    expect("fifty moves", ending("8/8/8/4k3/8/8/8/R3K3 w - - 99 80", ["a1a2"]),
           ("1/2-1/2", "50-move rule"))
    expect("mate on the hundredth half-move", ending("7k/8/6K1/8/8/8/8/R7 w - - 99 80", ["a1a8"]),
           ("1-0", "checkmate"))
    expect("a capture resets the count", ending("8/8/8/4k3/8/8/r7/R3K3 w - - 99 80", ["a1a2"]), None)
    expect("bare kings", ending("8/8/8/4k3/8/8/8/3rK3 w - - 0 80", ["e1d1"]),
           ("1/2-1/2", "insufficient material"))
    expect("ply cap", ending(START_FEN, knights, max_plies=4), ("1/2-1/2", "ply cap of 4 reached"))
    expect("black mated", ending("k7/8/1K6/8/8/8/8/7R w - - 0 1", ["h1h8"]), ("1-0", "checkmate"))
    # FEN round trip.
    fen = "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
    expect("fen round trip", Position(fen).fen(), fen)
    return failures


# A stand-in engine for checking the referee's fault detection: it speaks
# just enough of the protocol and misbehaves as its mode says.  "first" plays
# the first legal move of the referee's own generator.
FAKE_ENGINE = r'''#!%(python)s
import os, signal, sys, time
sys.path.insert(0, %(tools)r)
from referee import Position
mode = %(mode)r
pos, playing, moved = Position(), False, 0

def answer():
    global moved
    moved += 1
    legal = sorted(pos.legal_moves())
    if not legal:
        return
    if mode == "illegal" and moved == 2:
        print("move e2e5", flush=True)
        return
    if mode == "hang" and moved == 2:
        time.sleep(3600)
    if mode == "crash" and moved == 2:
        os.kill(os.getpid(), signal.SIGSEGV)
    if mode == "sanitizer" and moved == 2:
        sys.stderr.write("runtime error: shift exponent 64 is too large\n")
        sys.stderr.flush()   # and plays on: only its stderr tells
    print("Thinking line that the referee ignores", flush=True)
    m = legal[0]
    print("move " + m.text, flush=True)
    pos.make(m)

for line in sys.stdin:
    word = line.split()[0] if line.split() else ""
    if word == "quit":
        break
    if word == "go":
        playing = True
        answer()
    elif word in ("xboard", "new", "force", "sd", "st", "level", "time", "otim"):
        pass
    elif mode == "reject" and playing or mode == "reject-mate" and word == "d8h4":
        print("Error (unknown): " + word, flush=True)
    else:
        legal = pos.legal_moves()
        m = next((m for m in legal if m.text == word), None)
        if m is None:
            print("Error (unknown): " + word, flush=True)
            continue
        pos.make(m)
        if playing:
            answer()
'''

# The same for the UCI protocol: "mute" never says "uciok", "slow" thinks
# too long over its first move, "badpv" prints an illegal principal variation.
# "ponder" names a ponder move, the reply it plays itself on its odd moves
# (a hit against itself) and another one on its even moves (a miss), and
# answers its second move, a ponderhit, after 1.2 s; "early" names them too
# but answers "go ponder" at once.
FAKE_UCI_ENGINE = r'''#!%(python)s
import sys, time
sys.path.insert(0, %(tools)r)
from referee import Position, find_move
mode = %(mode)r
pos, moved, pondering = Position(), 0, False

def best():
    m = sorted(pos.legal_moves())[0]
    words = "bestmove " + m.text
    undo = pos.make(m)
    replies = sorted(pos.legal_moves())
    pos.undo(undo)
    if mode in ("ponder", "early") and replies:
        words += " ponder " + replies[0 if moved %% 2 else -1].text
    print(words, flush=True)

for line in sys.stdin:
    words = line.split() or [""]
    if words[0] == "quit":
        break
    if words[0] == "uci" and mode != "mute":
        print("id name stand-in\nuciok", flush=True)
    elif words[0] == "isready":
        print("readyok", flush=True)
    elif words[0] == "position":
        pos = Position()
        for t in words[3:]:
            pos.make(find_move(pos.legal_moves(), t))
    elif words[:2] == ["go", "ponder"]:
        pondering = mode == "ponder"
        if mode == "early":
            moved += 1
            best()
    elif words[0] == "ponderhit" and pondering:
        pondering, moved = False, moved + 1
        time.sleep(1.2 if moved == 2 else 0)
        best()
    elif words[0] == "stop" and pondering:
        pondering = False
        print("bestmove " + sorted(pos.legal_moves())[0].text, flush=True)
    elif words[0] == "go":
        moved += 1
        m = sorted(pos.legal_moves())[0].text
        if mode == "slow" and moved == 1:
            time.sleep(1.5)
        if mode == "illegal" and moved == 2:
            m = "e2e5"
        pv = "a1a1" if mode == "badpv" and moved == 2 else m
        print("info depth 1 score cp 0 pv " + pv, flush=True)
        if mode in ("ponder", "early"):
            best()
        else:
            print("bestmove " + m, flush=True)
'''


def fault_selftest():
    """Plays short games between stand-in engines and checks that each kind
    of misbehaviour is counted against the right side; returns failures."""
    failures = []
    tools = os.path.dirname(os.path.abspath(__file__))
    scratch = tempfile.mkdtemp(prefix="referee-selftest-")
    try:
        def fake(mode, template=FAKE_ENGINE):
            path = os.path.join(scratch, mode + ("-uci" if template is FAKE_UCI_ENGINE else ""))
            with open(path, "w") as f:
                f.write(template % {"python": sys.executable, "tools": tools, "mode": mode})
            os.chmod(path, 0o755)
            return path

        class Options:
            max_plies = 40
            move_timeout = 2.0
            quit_timeout = 2.0
            tc = None

        class Clocked(Options):
            tc = (1000, 200)      # milliseconds: 1 s and 0.2 s a move

        good = fake("first")
        opening = ["e2e4", "e7e5"]
        # (white mode, black mode, the fault expected on which side, result)
        cases = [("first", "first", None, None, None),
                 ("first", "illegal", 1, "illegal", "1-0"),
                 ("hang", "first", 0, "hang", "0-1"),
                 ("first", "crash", 1, "crash", "1-0"),
                 ("sanitizer", "first", 0, "crash", None),   # found on stderr after the game
                 ("first", "reject", 1, "reject", "1-0")]
        # The mating move of fool's mate, refused by the mated side after the
        # game is over: still a fault, the result stands.
        game = Game(fake("reject-mate"), good, ("reject-mate", "first"), "sd 1",
                    ["f2f3", "e7e5", "g2g4", "d8h4"], Options())
        game.play()
        got = [(c, k) for c in (0, 1) for k, _ in game.faults[c]]
        if got != [(0, "reject")] or game.result != "0-1":
            failures.append("refused mating move: faults %r, result %s (%s)" % (
                got, game.result, game.reason))
        for white, black, side, kind, result in cases:
            game = Game(good if white == "first" else fake(white),
                        good if black == "first" else fake(black),
                        (white, black), "sd 1", opening, Options())
            game.play()
            what = "%s vs %s" % (white, black)
            got = [(c, k) for c in (0, 1) for k, _ in game.faults[c]]
            if kind is None:
                if got or game.reason not in ("ply cap of 40 reached", "threefold repetition"):
                    failures.append("%s: faults %r, ended by %s" % (what, got, game.reason))
                elif len(game.moves) < 8:
                    failures.append("%s: only %d plies" % (what, len(game.moves)))
            elif got != [(side, kind)] or result not in (None, game.result):
                failures.append("%s: faults %r, result %s (%s)" % (what, got, game.result, game.reason))
        # UCI stand-ins on a clock, the first case against an XBoard one.
        for white, black, side, kind, result in [("first", "xboard", None, None, None),
                                                 ("xboard", "illegal", 1, "illegal", "1-0"),
                                                 ("slow", "first", 0, "time", "0-1"),
                                                 ("badpv", "first", 0, "illegal", None),
                                                 ("xboard", "mute", 1, "hang", "1-0")]:
            progs = [good if mode == "xboard" else fake(mode, FAKE_UCI_ENGINE) for mode in (white, black)]
            protos = ["xboard" if mode == "xboard" else "uci" for mode in (white, black)]
            game = Game(progs[0], progs[1], (white, black), None, opening, Clocked(), protos)
            game.play()
            got = [(c, k) for c in (0, 1) for k, _ in game.faults[c]]
            if kind is None and (got or len(game.moves) < 8) or \
                    kind is not None and (got != [(side, kind)] or result not in (None, game.result)):
                failures.append("UCI %s vs %s: faults %r, result %s (%s), %d plies" % (
                    white, black, got, game.result, game.reason, len(game.moves)))
        failures += ponder_selftest(fake("ponder", FAKE_UCI_ENGINE), fake("early", FAKE_UCI_ENGINE), Options)
        failures += report_selftest(good, fake("illegal"))
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    return failures


def ponder_selftest(ponderer, early, options):
    """Pondering engines on a clock: hits, misses and the stop at the end of
    the game, with a per-move timeout shorter than a ponder search and the
    move after its ponderhit (each takes 1.2 s once); an engine that answers
    "go ponder" at once is a ponder fault and the game goes on.  Returns
    failures."""
    failures = []

    class Options(options):
        max_plies = 16
        tc = (3000, 200)

    game = Game(ponderer, ponderer, ("p", "q"), None, ["e2e4", "e7e5"], Options(),
                ("uci", "uci"), ponders=(True, True))
    game.play()
    got = [(c, k) for c in (0, 1) for k, _ in game.faults[c]]
    sent = {c: [l.split(" > ", 1)[1] for l in game.transcript if l.startswith(name + " > ")]
            for c, name in ((0, "white"), (1, "black"))}
    counts = [game.ponder_counts[c] for c in (0, 1)]
    if got or len(game.moves) < 12 or not all(0 < hits < started for started, hits in counts):
        failures.append("ponder: faults %r, %d plies (%s), counts %r" % (
            got, len(game.moves), game.reason, counts))
    if not all("setoption name Ponder value true" in sent[c] and "ponderhit" in sent[c]
               and "stop" in sent[c] for c in (0, 1)):
        failures.append("ponder: no Ponder option, ponderhit or stop sent: %r" % sent)
    if not any(sent[c][-2:] == ["stop", "quit"] for c in (0, 1)):
        failures.append("ponder: no stop before quit at the end: %r" % sent)
    if not all(re.match(r"go ponder wtime \d+ btime \d+ winc 200 binc 200$", l)
               for c in (0, 1) for l in sent[c] if l.startswith("go ponder")):
        failures.append("ponder: go ponder without the clocks: %r" % sent)
    game = Game(early, ponderer, ("e", "p"), None, ["e2e4", "e7e5"], Options(),
                ("uci", "uci"), ponders=(True, True))
    game.play()
    got = [(c, k) for c in (0, 1) for k, _ in game.faults[c]]
    if got != [(0, "ponder")] or len(game.moves) < 12:
        failures.append("early ponder answer: faults %r, %d plies (%s)" % (got, len(game.moves), game.reason))
    return failures


def report_selftest(good, illegal):
    """The lines a match prints: one per game with the winner and the running
    score, and with --quiet only those of faulty games; returns failures."""
    failures = []

    def match(engine_b, quiet):
        args = argparse.Namespace(
            engine_a=good, engine_b=engine_b, name_a="x", name_b="x", games=2,
            proto_a="xboard", proto_b="xboard", option_a=[], option_b=[], limit="sd 1",
            tc=None, seed=1, random_plies=0, opening="e2e4 e7e5", max_plies=12,
            move_timeout=2.0, quit_timeout=2.0, outdir=None, keep_transcripts=False,
            summary_file=None, verbose=False, quiet=quiet, ponder_a=False, ponder_b=False)
        out = io.StringIO()
        with contextlib.redirect_stdout(out):
            run_match(args)
        return [line for line in out.getvalue().splitlines() if not line.startswith("  ")]

    # Side B's stand-in plays an illegal second move, as White and as Black.
    for engine_b, quiet, want in (
            (good, False, [r"game 1/2 x\(A\) vs x\(B\): 1/2-1/2 draw \((ply-cap adjudication|"
                           r"threefold repetition)\), 12 plies; score x\(A\) 0\.5 - x\(B\) 0\.5$",
                           r"game 2/2 x\(B\) vs x\(A\): .*; score x\(A\) 1 - x\(B\) 1$"]),
            (good, True, []),
            (illegal, True, [r"game 1/2 x\(A\) vs x\(B\): 1-0 x\(A\) wins \(illegal move\), "
                             r"5 plies; score x\(A\) 1 - x\(B\) 0  FAULT$",
                             r"game 2/2 x\(B\) vs x\(A\): 0-1 x\(A\) wins \(illegal move\), "
                             r"4 plies; score x\(A\) 2 - x\(B\) 0  FAULT$"])):
        lines = match(engine_b, quiet)
        want = want + [r"pairing x-x games 2: x\(A\) wins \d, x\(B\) wins 0, draws \d; "]
        if len(lines) != len(want) or not all(re.match(w, l) for w, l in zip(want, lines)):
            failures.append("report (quiet %s): %r" % (quiet, lines))
    return failures


def selftest(quick):
    ok = True
    for fen, counts in PERFT_CASES:
        p = Position(fen)
        before = p.fen()
        for depth, want in enumerate(counts, 1):
            if quick and want > 50000:
                break
            t0 = time.time()
            got = p.perft(depth)
            status = "ok" if got == want else "MISMATCH"
            print("perft %d %-10d want %-10d %s (%.1fs)  %s" % (depth, got, want, status,
                                                               time.time() - t0, fen))
            ok &= got == want
        if p.fen() != before:
            print("position not restored after perft: %s" % p.fen())
            ok = False
    failures = rules_selftest() + fault_selftest()
    for f in failures:
        print("check failed: " + f)
    ok &= not failures
    print("selftest " + ("passed" if ok else "FAILED"))
    return 0 if ok else 1


# ---------------------------------------------------------------------------
# Engines
# ---------------------------------------------------------------------------

SANITIZER_REPORT = re.compile(r'ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:')
MOVE_LINE = re.compile(r'^\s*move\s+(\S*)')
REJECT_LINE = re.compile(r'^\s*(?:Error \(unknown\)|Not yet supported|Illegal move)\s*:?\s*(\S*)')
BEST_LINE = re.compile(r'^\s*bestmove\s+(\S*)(?:\s+ponder\s+(\S+))?')
UCIOK_LINE = re.compile(r'(^|\s)uciok\s*$')      # after a console prompt too
READYOK_LINE = re.compile(r'^\s*readyok\s*$')
# The words of a UCI "info" line that end a principal variation.
INFO_WORDS = {"depth", "seldepth", "time", "nodes", "pv", "multipv", "score", "cp", "mate",
              "lowerbound", "upperbound", "currmove", "currmovenumber", "hashfull", "nps",
              "tbhits", "sbhits", "cpuload", "string", "refutation", "currline", "wdl"}


def info_pv(line):
    """The moves after "pv" in a UCI info line (free text after "string" aside)."""
    words = line.split()
    if "string" in words:
        words = words[:words.index("string")]
    if "pv" not in words:
        return []
    pv = []
    for w in words[words.index("pv") + 1:]:
        if w in INFO_WORDS:
            break
        pv.append(w)
    return pv


def pv_fault(pos, pv):
    """What is wrong with the principal variation pv from position pos, or None."""
    undos = []
    try:
        for text in pv:
            m = find_move(pos.legal_moves(), text)
            if m is None:
                return "move '%s' of the principal variation '%s' is not legal in %s" % (
                    text, ' '.join(pv), pos.fen())
            undos.append(pos.make(m))
        return None
    finally:
        for u in reversed(undos):
            pos.undo(u)


def uci_limit(limit):
    """The "go" words of an XBoard search limit: "sd N" or "st S"."""
    words = limit.split()
    if len(words) == 2 and words[0] == "sd" and words[1].isdigit():
        return "depth " + words[1]
    if len(words) == 2 and words[0] == "st" and re.match(r'^\d+(\.\d*)?$', words[1]):
        return "movetime %d" % round(float(words[1]) * 1000)
    raise ValueError('limit "%s" has no UCI form (use "sd N" or "st S")' % limit)


def parse_tc(text):
    """Milliseconds (base, increment) of a clock "BASE+INC" in seconds."""
    got = re.match(r'^(\d+(?:\.\d*)?)(?:\+(\d+(?:\.\d*)?))?$', text)
    if not got:
        raise ValueError('clock "%s" is not BASE+INC in seconds, e.g. 10+0.1' % text)
    return round(float(got.group(1)) * 1000), round(float(got.group(2) or 0) * 1000)


class Engine:
    """One engine process; its output lines go to a shared queue as
    (engine index, line, arrival time) triples, with None for the end of output."""

    def __init__(self, index, name, program, events, transcript, proto="xboard"):
        self.index = index
        self.proto = proto
        self.name = name
        self.program = program
        self.events = events
        self.transcript = transcript
        self.workdir = tempfile.mkdtemp(prefix="referee-")   # stays empty: no book
        handle, self.stderr_path = tempfile.mkstemp(prefix="referee-stderr-")
        self.stderr_file = os.fdopen(handle, "wb")
        self.proc = subprocess.Popen([program], cwd=self.workdir, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=self.stderr_file,
                                     start_new_session=True)
        self.playing = False     # told "go": answers every move by itself
        self.killed = False
        self.sent = []           # moves sent, to recognise a rejection
        self.last_pv = []        # of the UCI search now running
        self.pondering = None    # the expected move while a "go ponder" runs
        self.ponder_answered = False   # its bestmove came before ponderhit or stop
        self.hit_at = None       # when "ponderhit" was sent, until the move comes
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for raw in self.proc.stdout:
            # Stamped here, so that the referee's own delays cost the engine no time.
            self.events.put((self.index, raw.decode("latin-1").rstrip("\r\n"), time.monotonic()))
        self.events.put((self.index, None, time.monotonic()))

    def log(self, direction, text):
        self.transcript.append("%s %s %s" % (self.name, direction, text))

    def send(self, text):
        self.log(">", text)
        try:
            self.proc.stdin.write((text + "\n").encode())
            self.proc.stdin.flush()
            return True
        except (BrokenPipeError, OSError, ValueError):
            return False

    def alive(self):
        return self.proc.poll() is None

    def kill(self):
        if self.alive():
            self.killed = True
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
        self.proc.wait()

    def finish(self, quit_timeout):
        """Sends "quit" and waits; kills after the timeout.  Returns the exit
        status (negative: a signal) or None when the referee killed it."""
        self.send("quit")
        try:
            self.proc.stdin.close()
        except (BrokenPipeError, OSError):
            pass
        try:
            self.proc.wait(timeout=quit_timeout)
        except subprocess.TimeoutExpired:
            self.kill()
        self.reader.join(timeout=2)
        self.stderr_file.close()
        return None if self.killed else self.proc.returncode

    def stderr_text(self):
        try:
            with open(self.stderr_path, "rb") as f:
                return f.read().decode("latin-1")
        except OSError:
            return ""

    def cleanup(self):
        shutil.rmtree(self.workdir, ignore_errors=True)
        try:
            os.remove(self.stderr_path)
        except OSError:
            pass


def describe_status(status):
    if status is None:
        return "killed by the referee"
    if status < 0:
        try:
            return "died by signal %s" % signal.Signals(-status).name
        except ValueError:
            return "died by signal %d" % -status
    return "exited with status %d" % status


# ---------------------------------------------------------------------------
# One game
# ---------------------------------------------------------------------------

class Game:
    """A game between two programs; faults[colour] lists illegal, crash, hang,
    reject, time and ponder per engine (0 white, 1 black)."""

    def __init__(self, white_prog, black_prog, names, limit, opening, args,
                 protos=("xboard", "xboard"), options=((), ()), ponders=(False, False)):
        self.white_prog, self.black_prog = white_prog, black_prog
        self.names = names                 # (white label, black label)
        self.limit = limit                 # XBoard limit command, or None with a clock
        self.protos = protos               # "xboard" or "uci" per colour
        self.options = options             # "NAME=VALUE" texts per colour
        self.ponders = ponders             # per colour: a UCI engine that ponders
        self.ponder_counts = {0: [0, 0], 1: [0, 0]}   # per colour: searches started, hits
        self.tc = getattr(args, "tc", None)   # (base, increment) in ms, or None
        self.clock = None                  # ms left per colour while the game runs
        self.turn_start = 0.0              # when the engine on move was told to think
        self.opening = opening             # list of coordinate texts
        self.args = args
        self.moves = []                    # coordinate texts of the whole game
        self.result = "*"
        self.reason = ""
        self.faults = {0: [], 1: []}       # per colour index: (kind, detail)
        self.transcript = []
        self.notes = []

    def fault(self, colour, kind, detail):
        if not any(k == kind for k, _ in self.faults[colour]):
            self.faults[colour].append((kind, detail))

    def lose(self, colour, reason):
        self.result = "0-1" if colour == 0 else "1-0"
        self.reason = reason

    def play(self):
        args = self.args
        pos = Position()
        events = queue.Queue()
        engines = [Engine(0, "white", self.white_prog, events, self.transcript, self.protos[0]),
                   Engine(1, "black", self.black_prog, events, self.transcript, self.protos[1])]
        reps = {}
        try:
            if not self.start_engines(engines, events):
                return
            legal = pos.legal_moves()
            reps[pos.repetition_key(legal)] = 1
            for text in self.opening:
                m = find_move(legal, text)
                if m is None:
                    raise ValueError("opening move %s is not legal in %s" % (text, pos.fen()))
                for e in engines:
                    if e.proto == "xboard":
                        e.send(text)
                    e.sent.append(text)
                pos.make(m)
                self.moves.append(text)
                legal = pos.legal_moves()
                key = pos.repetition_key(legal)
                reps[key] = reps.get(key, 0) + 1
            if self.game_over(pos, legal, reps):
                return
            self.run(pos, legal, reps, engines, events)
        finally:
            for e in engines:
                if e.pondering and not e.ponder_answered and e.alive():
                    self.stop_at_end(e, engines, events)
            for e in engines:
                status = e.finish(args.quit_timeout)
                colour = e.index
                if status is None and not any(k == "hang" for k, _ in self.faults[colour]):
                    self.notes.append("%s did not exit within %g s of quit and was killed"
                                      % (self.names[colour], args.quit_timeout))
                already = any(k in ("crash", "hang") for k, _ in self.faults[colour])
                if status not in (None, 0) and not already:
                    self.fault(colour, "crash", "after the game: " + describe_status(status))
                report = SANITIZER_REPORT.search(e.stderr_text())
                if report:
                    self.fault(colour, "crash", "sanitizer report on stderr: " + report.group(0))
                e.stderr_copy = e.stderr_text()
                e.cleanup()
            self.drain(engines, events)
            self.engines = engines

    def xboard_setup(self, colour):
        """The commands that set an XBoard engine's limit, clock and options."""
        cmds = []
        if self.tc:
            seconds = round(self.tc[0] / 1000)
            cmds.append("level 0 %d:%02d %g" % (seconds // 60, seconds % 60, self.tc[1] / 1000))
        if self.limit:
            cmds.append(self.limit)
        return cmds + ["option " + o for o in self.options[colour]]

    def start_engines(self, engines, events):
        """Greets each engine in its protocol and waits until the UCI ones are
        ready; False when one failed (its fault decides the game)."""
        uci = [e for e in engines if e.proto == "uci"]
        for e in engines:
            if e.proto == "uci":
                e.send("uci")
            else:
                for cmd in ["xboard", "new"] + self.xboard_setup(e.index) + ["force"]:
                    e.send(cmd)
        if not self.await_line(uci, engines, events, UCIOK_LINE, "uciok"):
            return False
        for e in uci:
            if self.ponders[e.index]:
                e.send("setoption name Ponder value true")
            for option in self.options[e.index]:
                name, has_value, value = option.partition("=")
                e.send("setoption name " + name.strip() + (" value " + value.strip() if has_value else ""))
            e.send("ucinewgame")
            e.send("isready")
        return self.await_line(uci, engines, events, READYOK_LINE, "readyok")

    def await_line(self, waiting, engines, events, pattern, word):
        """Reads lines until each engine of waiting printed one that matches
        pattern; False after a crash or a hang."""
        pending = {e.index for e in waiting}
        deadline = time.monotonic() + self.args.move_timeout
        while pending:
            left = deadline - time.monotonic()
            if left <= 0:
                self.hung(engines[min(pending)], "no %s within %g s" % (word, self.args.move_timeout))
                return False
            try:
                index, line, _ = events.get(timeout=min(left, 1.0))
            except queue.Empty:
                continue
            if line is None:
                self.crashed(engines[index], "output ended before %s" % word)
                return False
            engines[index].log("<", line)
            if index in pending and pattern.search(line):
                pending.discard(index)
        return True

    def drain(self, engines, events):
        """The lines printed after the game was decided go to the transcript;
        a refusal of a move the engine was sent (the last one too) still counts."""
        while True:
            try:
                index, line, _ = events.get_nowait()
            except queue.Empty:
                return
            if line is None:
                continue
            engines[index].log("<", line)
            self.late_reject(engines[index], line)

    def late_reject(self, engine, line):
        """A refusal, once the game is decided, of a move the engine was sent."""
        rejected = REJECT_LINE.match(line)
        if rejected and rejected.group(1) in engine.sent:
            self.fault(engine.index, "reject", "refused the legal move %s (%s)" % (
                rejected.group(1), line.strip()))

    def stop_at_end(self, engine, engines, events):
        """Stops the search of an engine that still ponders when the game is
        decided and waits for its bestmove, which is discarded; no answer
        within the per-move timeout is a hang (the result stands)."""
        stopped = time.monotonic()   # before the send: an answer may come at once
        engine.send("stop")
        deadline = stopped + self.args.move_timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                self.fault(engine.index, "hang", "no bestmove within %g s of stop at the end of the game"
                           % self.args.move_timeout)
                engine.kill()
                return
            try:
                index, line, stamp = events.get(timeout=min(left, 1.0))
            except queue.Empty:
                continue
            if line is None:
                if index == engine.index:
                    return        # its exit status tells what happened
                continue
            engines[index].log("<", line)
            if index == engine.index and BEST_LINE.match(line):
                if stamp < stopped:
                    self.ponder_fault(engine, line, engine.pondering)
                return
            self.late_reject(engines[index], line)

    def ponder_fault(self, engine, line, expected):
        """A bestmove of a "go ponder" before "ponderhit" or "stop"."""
        engine.ponder_answered = True
        self.fault(engine.index, "ponder", "'%s' while pondering on %s, before ponderhit or stop, at ply %d"
                   % (line.strip(), expected, len(self.moves)))

    def game_over(self, pos, legal, reps):
        if not legal:
            if pos.in_check():
                self.result = "0-1" if pos.white else "1-0"
                self.reason = "checkmate"
            else:
                self.result, self.reason = "1/2-1/2", "stalemate"
            return True
        if pos.halfmove >= 100:
            self.result, self.reason = "1/2-1/2", "50-move rule"
            return True
        if max(reps.values()) >= 3:
            self.result, self.reason = "1/2-1/2", "threefold repetition"
            return True
        if pos.insufficient_material():
            self.result, self.reason = "1/2-1/2", "insufficient material"
            return True
        if len(self.moves) >= self.args.max_plies:
            self.result, self.reason = "1/2-1/2", "ply cap of %d reached" % self.args.max_plies
            return True
        return False

    def run(self, pos, legal, reps, engines, events):
        if self.tc:
            self.clock = [self.tc[0], self.tc[0]]
        if not self.think(engines[0 if pos.white else 1]):
            self.crashed(engines[0 if pos.white else 1], "could not be told to think")
            return
        while True:
            colour = 0 if pos.white else 1
            mover = engines[colour]
            got = self.wait_for_move(mover, engines, events, pos)
            if got is None:
                return            # crash, hang or rejection already decided the game
            text, ponder, stamp = got
            if mover.hit_at is not None and stamp < mover.hit_at:
                self.ponder_fault(mover, "bestmove " + text, self.moves[-1])
            mover.hit_at = None
            if not self.charge(colour, stamp):
                return
            m = find_move(legal, text)
            if m is None:
                what = "malformed move" if not MOVE_TEXT.match(text) else "illegal move"
                self.fault(colour, "illegal", "%s '%s' in %s" % (what, text, pos.fen()))
                self.lose(colour, "%s %s by %s" % (what, text, self.names[colour]))
                return
            pos.make(m)
            self.moves.append(text)
            legal = pos.legal_moves()
            key = pos.repetition_key(legal)
            reps[key] = reps.get(key, 0) + 1
            expected = self.ponder_move(mover, text, ponder, pos, legal)
            # An XBoard opponent gets the move even when it ends the game, so
            # that it also meets the final position (a mated engine must stay
            # quiet); a UCI one is sent the whole game when it is to move.
            other = engines[1 - colour]
            if other.proto == "xboard":
                self.send_clocks(other)
                if not other.send(text):
                    if self.game_over(pos, legal, reps):
                        return
                    self.crashed(other, "could not be sent a move")
                    return
            other.sent.append(text)
            if other.pondering == text:
                self.ponder_counts[other.index][1] += 1
            if self.game_over(pos, legal, reps):
                return
            if expected:
                self.start_ponder(mover, expected)
            if other.pondering:
                outcome = self.end_ponder(other, text, engines, events)
                if outcome is None:
                    return        # it hung or crashed after "stop"
                if outcome == "hit":
                    continue      # it plays on, its clock running from the ponderhit
            if not self.think(other):
                self.crashed(other, "could not be told to think")
                return

    def ponder_move(self, engine, played, ponder, pos, legal):
        """The move an engine that ponders expects after its move played, or
        None; a ponder move that is not legal there is an illegal-move fault
        (the game goes on, without pondering)."""
        if ponder is None:
            return None
        if find_move(legal, ponder) is None:
            self.fault(engine.index, "illegal", "ponder move '%s' after %s is not legal in %s"
                       % (ponder, played, pos.fen()))
            return None
        return ponder if self.ponders[engine.index] else None

    def start_ponder(self, engine, expected):
        """Sets the engine thinking on the position after the expected reply,
        with the clocks as they stand now, its own after the move it played."""
        engine.pondering, engine.ponder_answered, engine.last_pv = expected, False, []
        self.ponder_counts[engine.index][0] += 1
        engine.send(' '.join(["position startpos moves"] + self.moves + [expected]))
        engine.send(' '.join(["go ponder"] + self.go_words()))

    def end_ponder(self, engine, played, engines, events):
        """The opponent played: "hit" when it was the expected move (the
        engine is sent "ponderhit" and is on move from now), "go" when the
        engine is to be sent the real position, after a "stop" whose bestmove
        is waited for and discarded; None when a fault decided the game."""
        expected, engine.pondering = engine.pondering, None
        if engine.ponder_answered:
            return "go"           # its search is over already
        if played == expected:
            self.turn_start = engine.hit_at = time.monotonic()
            engine.send("ponderhit")
            return "hit"
        stopped = time.monotonic()
        engine.send("stop")
        got = self.wait_for_move(engine, engines, events, None, "of stop")
        if got is None:
            return None
        if got[2] < stopped:
            self.ponder_fault(engine, "bestmove " + got[0], expected)
        return "go"

    def go_words(self):
        """The limit words of a UCI "go": the clocks and the search limit."""
        go = []
        if self.clock:
            go.append("wtime %d btime %d winc %d binc %d" % (
                self.clock[0], self.clock[1], self.tc[1], self.tc[1]))
        if self.limit:
            go.append(uci_limit(self.limit))
        return go

    def send_clocks(self, engine):
        """An XBoard engine's own and its opponent's clock, in centiseconds."""
        if self.clock:
            engine.send("time %d" % (self.clock[engine.index] // 10))
            engine.send("otim %d" % (self.clock[1 - engine.index] // 10))

    def think(self, engine):
        """Tells the engine on move to think (an XBoard engine that plays
        already answers the move it was sent) and starts its clock."""
        ok = True
        if engine.proto == "uci":
            engine.last_pv = []
            ok = engine.send(' '.join(["position startpos"] + (["moves"] + self.moves if self.moves else [])))
            ok = ok and engine.send(' '.join(["go"] + self.go_words()))
        elif not engine.playing:
            self.send_clocks(engine)
            ok = engine.send("go")
            engine.playing = True
        self.turn_start = time.monotonic()
        return ok

    def charge(self, colour, stamp):
        """Takes the time of the move that arrived at stamp off the mover's
        clock; False, and the game lost, when the clock had run out."""
        if not self.clock:
            return True
        # A move read before the referee took the time of its order costs nothing.
        used = max(0.0, stamp - self.turn_start) * 1000
        left = self.clock[colour]
        if used > left:
            detail = "move after %.3f s with %.3f s left in %s" % (used / 1000, left / 1000, self.fen_now())
            self.fault(colour, "time", detail)
            self.lose(colour, "time forfeit of %s: %s" % (self.names[colour], detail))
            return False
        self.clock[colour] = round(left - used) + self.tc[1]
        return True

    def hung(self, engine, detail):
        engine.kill()
        self.fault(engine.index, "hang", detail)
        self.lose(engine.index, "hang of %s: %s" % (self.names[engine.index], detail))

    def crashed(self, engine, detail):
        try:
            engine.proc.wait(timeout=2)
        except subprocess.TimeoutExpired:
            pass
        status = engine.proc.poll()
        detail = "%s (%s)" % (detail, describe_status(status) if status is not None else "still running")
        self.fault(engine.index, "crash", detail)
        self.lose(engine.index, "crash of %s: %s" % (self.names[engine.index], detail))

    def wait_for_move(self, mover, engines, events, pos, after=None):
        """The move text of the engine on move, its ponder move (or None) and
        when it arrived, or None when a fault decided the game.  With pos None
        the move answers a "stop" (after says so) and is not judged."""
        deadline = time.monotonic() + self.args.move_timeout
        while True:
            left = deadline - time.monotonic()
            if left <= 0:
                self.hung(mover, "no move within %g s%s in %s" % (
                    self.args.move_timeout, " " + after if after else "", self.fen_now()))
                return None
            try:
                index, line, stamp = events.get(timeout=min(left, 1.0))
            except queue.Empty:
                continue
            engine = engines[index]
            if line is None:
                self.crashed(engine, "output ended while the game was on")
                return None
            engine.log("<", line)
            got = (BEST_LINE if engine.proto == "uci" else MOVE_LINE).match(line)
            if got:
                if engine is not mover and engine.pondering and not engine.ponder_answered:
                    self.ponder_fault(engine, line, engine.pondering)
                    continue
                if engine is not mover:
                    text = got.group(1)
                    self.fault(index, "illegal", "move '%s' out of turn" % text)
                    self.lose(index, "move %s out of turn by %s" % (text, self.names[index]))
                    return None
                # Only the last principal variation is played through (the
                # referee's generator is slow, and the engine's clock runs),
                # and only behind a legal move, whose fault tells more.
                wrong = pos and find_move(pos.legal_moves(), got.group(1)) and pv_fault(pos, engine.last_pv)
                if wrong:
                    self.fault(index, "illegal", wrong)
                return got.group(1), got.group(2) if engine.proto == "uci" else None, stamp
            if engine.proto == "uci" and line.startswith("info"):
                # A pondering engine's lines are of the position after the
                # expected move: after a ponderhit they are the mover's.
                engine.last_pv = info_pv(line) or engine.last_pv
                continue
            rejected = REJECT_LINE.match(line)
            if rejected and rejected.group(1) in engine.sent:
                detail = "refused the legal move %s (%s) at ply %d" % (
                    rejected.group(1), line.strip(), len(self.moves))
                self.fault(index, "reject", detail)
                self.lose(index, "%s %s" % (self.names[index], detail))
                return None

    def fen_now(self):
        p = Position()
        for t in self.moves:
            p.make(find_move(p.legal_moves(), t))
        return "'%s'" % p.fen()

    def record(self):
        clock = "%g+%g s" % (self.tc[0] / 1000, self.tc[1] / 1000) if self.tc else "none"
        lines = ["White: %s (%s)" % (self.names[0], self.protos[0]),
                 "Black: %s (%s)" % (self.names[1], self.protos[1]),
                 "Limit: %s" % (self.limit or "none"), "Clock: %s" % clock,
                 "Opening: %s" % ' '.join(self.opening),
                 "Moves: %s" % ' '.join(self.moves),
                 "Plies: %d" % len(self.moves),
                 "Result: %s" % self.result, "Reason: %s" % self.reason,
                 "Final position: %s" % self.fen_now()]
        if self.clock:
            lines.append("Clock left: white %.3f s, black %.3f s" % (self.clock[0] / 1000, self.clock[1] / 1000))
        if any(self.ponders):
            lines.append("Ponder hits: white %d/%d, black %d/%d" % tuple(
                self.ponder_counts[c][k] for c in (0, 1) for k in (1, 0)))
        for colour in (0, 1):
            for kind, detail in self.faults[colour]:
                lines.append("Fault: %s %s: %s" % (self.names[colour], kind, detail))
        lines += ["Note: " + note for note in self.notes]
        return '\n'.join(lines) + '\n'


def random_opening(rng, plies):
    """A few random legal plies that do not end the game."""
    for _ in range(100):
        pos = Position()
        texts = []
        for _ in range(plies):
            legal = pos.legal_moves()
            if not legal:
                break
            m = rng.choice(sorted(legal))
            texts.append(m.text)
            pos.make(m)
        if len(texts) == plies and pos.legal_moves():
            return texts
    return texts


# ---------------------------------------------------------------------------
# A match of one pairing
# ---------------------------------------------------------------------------

def ending_kind(reason):
    """How a game ended, without its details: for the line of each game and
    the tally of the pairing."""
    for prefix, kind in (("checkmate", "checkmate"), ("stalemate", "stalemate"),
                         ("50-move rule", "50-move rule"),
                         ("threefold repetition", "threefold repetition"),
                         ("insufficient material", "insufficient material"),
                         ("ply cap", "ply-cap adjudication"), ("hang", "hang"),
                         ("crash", "crash"), ("time forfeit", "time loss"),
                         ("illegal move", "illegal move"), ("malformed move", "illegal move"),
                         ("move ", "illegal move")):       # a move out of turn
        if reason.startswith(prefix):
            return kind
    if " refused the legal move " in reason:
        return "refused legal move"
    return "fault" if reason else "unfinished"


def side_label(name, letter):
    """The name of side A or B in the reports: "35(A)", or just "A" when the
    side has no name of its own; a pairing of an edition with itself still
    tells its sides apart."""
    return letter if name == letter else "%s(%s)" % (name, letter)


def game_line(number, games, labels, game, score):
    """The report of a finished game: its number, the players (white
    first), the result and who won it, how it ended, its length and the
    running score of the pairing."""
    if game.result in ("1-0", "0-1"):
        outcome = "%s wins" % labels[0 if game.result == "1-0" else 1]
    else:
        outcome = "draw" if game.result == "1/2-1/2" else "no result"
    return "game %d/%d %s vs %s: %s %s (%s), %d plies; score %s" % (
        number, games, labels[0], labels[1], game.result, outcome,
        ending_kind(game.reason), len(game.moves), score)


def run_match(args):
    counts = {"games": 0, "a": 0, "b": 0, "draws": 0}
    faults = {"illegal": 0, "crash": 0, "hang": 0, "reject": 0, "time": 0, "ponder": 0}
    ponder = {"a": [0, 0], "b": [0, 0]}     # per side: ponder searches started, hits
    if args.outdir:
        os.makedirs(args.outdir, exist_ok=True)
    reasons = {}
    side_a, side_b = side_label(args.name_a, "A"), side_label(args.name_b, "B")
    for g in range(args.games):
        a_white = g % 2 == 0
        if args.opening is not None:
            opening = args.opening.split()
        else:
            rng = random.Random("%d:%d" % (args.seed, g))
            opening = random_opening(rng, args.random_plies)
        progs = (args.engine_a, args.engine_b) if a_white else (args.engine_b, args.engine_a)
        labels = (side_a, side_b) if a_white else (side_b, side_a)
        protos = (args.proto_a, args.proto_b) if a_white else (args.proto_b, args.proto_a)
        options = (args.option_a, args.option_b) if a_white else (args.option_b, args.option_a)
        ponders = (args.ponder_a, args.ponder_b) if a_white else (args.ponder_b, args.ponder_a)
        game = Game(progs[0], progs[1], labels, args.limit, opening, args, protos, options, ponders)
        t0 = time.time()
        game.play()
        elapsed = time.time() - t0
        counts["games"] += 1
        if game.result == "1/2-1/2":
            counts["draws"] += 1
        elif game.result in ("1-0", "0-1"):
            white_won = game.result == "1-0"
            counts["a" if white_won == a_white else "b"] += 1
        kind = ending_kind(game.reason)
        reasons[kind] = reasons.get(kind, 0) + 1
        for colour in (0, 1):
            for kind, detail in game.faults[colour]:
                faults[kind] += 1
            side = ponder["a" if (colour == 0) == a_white else "b"]
            side[0] += game.ponder_counts[colour][0]
            side[1] += game.ponder_counts[colour][1]
        faulty = any(game.faults[c] for c in (0, 1))
        half = counts["draws"] / 2
        score = "%s %g - %s %g" % (side_a, counts["a"] + half, side_b, counts["b"] + half)
        line = game_line(g + 1, args.games, labels, game, score)
        if args.verbose:
            line += "; %.1fs, opening %s; %s" % (elapsed, ' '.join(opening) or "none",
                                                 game.reason or "no reason")
        if faulty:
            line += "  FAULT"
        # A faulty game is reported even with --quiet, with its faults.
        if not args.quiet or faulty:
            print(line, flush=True)
            for colour in (0, 1):
                for kind, detail in game.faults[colour]:
                    print("  %s %s: %s" % (labels[colour], kind, detail), flush=True)
        if args.outdir:
            base = os.path.join(args.outdir, "%s-%s-game%03d" % (args.name_a, args.name_b, g + 1))
            with open(base + ".txt", "w") as f:
                f.write("Seed: %d game %d\n" % (args.seed, g))
                f.write(game.record())
                f.write("Time: %.1fs\n" % elapsed)
            if faulty or args.keep_transcripts:
                with open(base + ".transcript", "w") as f:
                    f.write('\n'.join(game.transcript) + '\n')
                for e in game.engines:
                    if e.stderr_copy:
                        with open(base + ".%s.stderr" % e.name, "w") as f:
                            f.write(e.stderr_copy)
    total_faults = sum(faults.values())
    pondering = ""
    if args.ponder_a or args.ponder_b:
        rates = ["%s %d/%d (%.0f%%)" % (label, ponder[s][1], ponder[s][0],
                                        100.0 * ponder[s][1] / max(1, ponder[s][0]))
                 for s, label, on in (("a", side_a, args.ponder_a), ("b", side_b, args.ponder_b)) if on]
        pondering = ", ponder faults %d; ponder hits %s" % (faults["ponder"], ', '.join(rates))
    print("pairing %s-%s games %d: %s wins %d, %s wins %d, draws %d; "
          "illegal %d, crashes %d, hangs %d, rejected %d, time losses %d%s; endings: %s" % (
              args.name_a, args.name_b, counts["games"], side_a, counts["a"],
              side_b, counts["b"], counts["draws"], faults["illegal"], faults["crash"],
              faults["hang"], faults["reject"], faults["time"], pondering,
              ', '.join("%s %d" % kv for kv in sorted(reasons.items()))), flush=True)
    if args.summary_file:
        # The ponder columns: the faults, then hits and searches of A and of B.
        with open(args.summary_file, "a") as f:
            f.write("%s-%s\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\n" % (
                args.name_a, args.name_b, counts["games"], counts["a"], counts["b"],
                counts["draws"], faults["illegal"], faults["crash"], faults["hang"],
                faults["reject"], faults["time"], faults["ponder"], ponder["a"][1], ponder["a"][0],
                ponder["b"][1], ponder["b"][0]))
    return 1 if total_faults else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--selftest", action="store_true", help="check the move generator and rules")
    ap.add_argument("--quick", action="store_true", help="with --selftest: skip the largest perft counts")
    ap.add_argument("--engine-a", help="first program")
    ap.add_argument("--engine-b", help="second program (default: the first)")
    ap.add_argument("--name-a", default="A")
    ap.add_argument("--name-b", default="B")
    ap.add_argument("--games", type=int, default=2)
    ap.add_argument("--proto-a", choices=("xboard", "uci"), default="xboard", help="protocol of the first program")
    ap.add_argument("--proto-b", choices=("xboard", "uci"), default="xboard", help="protocol of the second program")
    ap.add_argument("--option-a", "--uci-option-a", action="append", default=[], metavar="NAME=VALUE",
                    help='an engine option for the first program, e.g. "Skill Level=1" (repeatable)')
    ap.add_argument("--option-b", "--uci-option-b", action="append", default=[], metavar="NAME=VALUE",
                    help="an engine option for the second program (repeatable)")
    ap.add_argument("--ponder", action="store_true",
                    help="the UCI engines ponder: Ponder on, go ponder on the expected reply, "
                         "ponderhit or stop")
    ap.add_argument("--ponder-a", action="store_true", help="only the first program ponders (UCI)")
    ap.add_argument("--ponder-b", action="store_true", help="only the second program ponders (UCI)")
    ap.add_argument("--limit", help='search limit command, e.g. "sd 3" (the default without --tc) or "st 1"')
    ap.add_argument("--tc", help="a clock kept by the referee: BASE+INC in seconds, e.g. 10+0.1")
    ap.add_argument("--seed", type=int, default=1)
    ap.add_argument("--random-plies", type=int, default=4, help="random opening plies per game")
    ap.add_argument("--opening", help="fixed opening moves in coordinates instead of random ones")
    ap.add_argument("--max-plies", type=int, default=250, help="ply cap, adjudicated a draw")
    ap.add_argument("--move-timeout", type=float, default=60.0, help="seconds per move before a hang")
    ap.add_argument("--quit-timeout", type=float, default=5.0, help="seconds to exit after quit")
    ap.add_argument("--outdir", help="directory for per-game logs")
    ap.add_argument("--keep-transcripts", action="store_true", help="transcripts of every game, not only faulty ones")
    ap.add_argument("--summary-file", help="append a tab-separated summary row to this file")
    report = ap.add_mutually_exclusive_group()
    report.add_argument("--verbose", "-v", action="store_true",
                        help="add to each game's line the time it took, its opening and the "
                             "full reason of its end (a line per game is printed by default)")
    report.add_argument("--quiet", "-q", action="store_true",
                        help="no line per game, except for games with faults; "
                             "the pairing's summary is still printed")
    args = ap.parse_args()
    if args.selftest:
        return selftest(args.quick)
    if not args.engine_a:
        ap.error("--engine-a is required (or --selftest)")
    args.engine_b = args.engine_b or args.engine_a
    for side in ("a", "b"):
        proto = getattr(args, "proto_" + side)
        if getattr(args, "ponder_" + side) and proto != "uci":
            ap.error("--ponder-%s needs --proto-%s uci" % (side, side))
        setattr(args, "ponder_" + side, proto == "uci" and (args.ponder or getattr(args, "ponder_" + side)))
    if args.ponder and not (args.ponder_a or args.ponder_b):
        ap.error("--ponder needs a UCI engine (--proto-a uci or --proto-b uci)")
    if args.limit is None and args.tc is None:
        args.limit = "sd 3"
    try:
        args.tc = parse_tc(args.tc) if args.tc else None
        if args.limit and "uci" in (args.proto_a, args.proto_b):
            uci_limit(args.limit)
    except ValueError as e:
        ap.error(str(e))
    for prog in (args.engine_a, args.engine_b):
        if not (os.path.isfile(prog) and os.access(prog, os.X_OK)):
            ap.error("not an executable program: %s" % prog)
    args.engine_a = os.path.abspath(args.engine_a)
    args.engine_b = os.path.abspath(args.engine_b)
    return run_match(args)


if __name__ == "__main__":
    sys.exit(main())
