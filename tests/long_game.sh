#!/bin/sh
# Games longer than the game record: the knights go back and forth past its
# capacity, by one half-move and by a thousand, at the console, in XBoard
# mode and in UCI mode. Every move is taken, the positions stay right, "mr"
# numbers the moves as the game does, "undo" walks back through the moves
# kept, and the engine still answers with a move of the side to move.
# Usage: long_game.sh PROGRAM CAPACITY (CAPACITY a multiple of 4: the knights
# are then home again when the record is full).
program=$1 capacity=$2
case $capacity in ''|*[!0-9]*) capacity=1 ;; esac
[ -n "$program" ] && [ $((capacity % 4)) -eq 0 ] && [ "$capacity" -gt 0 ] || {
    echo "usage: long_game.sh PROGRAM CAPACITY (a multiple of 4)"; exit 2; }
case $program in /*) ;; *) program=$(pwd)/$program ;; esac
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2   # the book files, if any, stay here

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# knights COUNT [FIRST]: COUNT knight moves of the cycle light out, dark
# out, light home, dark home, starting at place FIRST (0 to 3) of it.
knights() {
    awk -v n="$1" -v f="${2:-0}" 'BEGIN { split("g1f3 g8f6 f3g1 f6g8", m, " ");
                                          for (i = 0; i < n; i++) print m[(f + i) % 4 + 1] }'
}

# Runs the program on the input file $1; output in $1.out, errors in $1.err.
run() {
    "$program" < "$1" > "$1.out" 2> "$1.err"
    status=$?
    [ $status -eq 0 ] || fail "$1: exit status $status"
    [ -s "$1.err" ] && { fail "$1: wrote to standard error:"; head -20 "$1.err"; }
}

# count FILE REGEX: the number of output lines matching, prompts removed.
count() { sed 's/^\(zorvu> \)*//' "$1" | grep -c -E "$2"; }

expect_count() {   # FILE REGEX EXPECTED WHAT
    n=$(count "$1" "$2")
    [ "$n" -eq "$3" ] || fail "$1: $4: $n, expected $3"
}

# The positions "fn" shows: edition 2.3 prints the book key (piece letters
# of its own, no side to move), the others a FEN without move counters.
positions() {
    sed 's/^\(zorvu> \)*//' "$1" |
        grep -E '^[rnbqkpRNBQKP1-8]+(/[rnbqkpRNBQKP1-8]+){7} [wb] |^[tcadrpTCADRP1-8]+(,[tcadrpTCADRP1-8]+){7} $'
}
# state N: the position after N half-moves of the cycle.
if printf 'fn\nbye\n' | "$program" | grep -q '^zorvu> tcadract,'; then
    state() {
        case $(($1 % 4)) in
            0) echo "tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT " ;;
            1) echo "tcadract,pppppppp,8,8,8,5C2,PPPPPPPP,TCADRA1T " ;;
            2) echo "tcadra1t,pppppppp,5c2,8,8,5C2,PPPPPPPP,TCADRA1T " ;;
            3) echo "tcadra1t,pppppppp,5c2,8,8,8,PPPPPPPP,TCADRACT " ;;
        esac
    }
else
    state() {
        case $(($1 % 4)) in
            0) echo "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - " ;;
            1) echo "rnbqkbnr/pppppppp/8/8/8/5N2/PPPPPPPP/RNBQKB1R b KQkq - " ;;
            2) echo "rnbqkb1r/pppppppp/5n2/8/8/5N2/PPPPPPPP/RNBQKB1R w KQkq - " ;;
            3) echo "rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - " ;;
        esac
    }
fi

long=$((capacity + 1000))
# A full record keeps its later half, then fills up again: the records
# kept after $long half-moves.
half=$((capacity / 2))
kept=$((half + (long - capacity - 1) % half + 1))
dropped=$((long - kept))

# --- At the console ----------------------------------------------------------
{
    echo "sd 1"
    knights "$capacity"
    echo fn                           # the record is full
    knights 1                         # one more
    echo fn
    knights $((long - capacity - 1)) 1
    echo fn
    echo mr
    echo on                           # the engine plays light's move
    echo undo                         # and it is taken back
    echo fn
    i=0; while [ $i -lt $((kept + 3)) ]; do echo undo; i=$((i + 1)); done   # past what was kept
    echo fn
    echo bye
} > console
run console
expect_count console.out "^Illegal move|record full" 0 "refused moves"
expect_count console.out "^Computer's move: " 1 "engine moves"
expect_count console.out "^\\(the first $dropped half-moves are no longer kept: the list starts at move $((dropped / 2 + 1))\\)$" 1 "where the game list starts"
expect_count console.out "^$((dropped / 2 + 1)) \\." 1 "first line of the game list"
expect_count console.out "^$((long / 2)) \\.f3g1 " 1 "last line of the game list"
expect_count console.out "^Zorvu 2000 - Gracias$" 1 "goodbye"
expected=$(for n in 0 1 0 0 "$dropped"; do state "$n"; done)
actual=$(positions console.out)
[ "$actual" = "$expected" ] || fail "console positions:
$actual
expected:
$expected"

# --- In XBoard mode -----------------------------------------------------------
# Refusals: "Error (unknown): MOVE" (editions 3.5 and 3.0) or "Not yet
# supported: MOVE" (edition 2.3). "white" restarts the game record (not the
# position): three rounds of it, then the engine plays the long game on.
REFUSED="^(Error \\(unknown\\)|Not yet supported): "
{
    echo xboard
    echo "sd 1"
    knights "$long"
    for round in 1 2 3; do knights 296; echo white; echo force; done
    echo go                           # the engine plays light's move
    echo force
    echo new
    echo e2e4                         # the engine plays dark after "new"
    echo quit
} > xboard
run xboard
expect_count xboard.out "$REFUSED" 0 "refusals"
expect_count xboard.out "^move " 2 "engine moves"
moves=$(grep "^move " xboard.out | tr '\n' ' ')
echo "$moves" | grep -q -E '^move [a-h][12][a-h][1-8] move ([a-h]7[a-h][56]|[bg]8[a-h]6) $' ||
    fail "xboard: light's move, then dark's reply to e2e4: $moves"

# --- In UCI mode --------------------------------------------------------------
# One position command with the whole game, then one that extends it.
{
    echo uci
    echo "position startpos moves $(knights "$long" | tr '\n' ' ')"
    echo "go depth 2"
    echo "position startpos moves $(knights "$long" | tr '\n' ' ')e2e4"
    echo "go depth 2"
    echo quit
} > uci
run uci
expect_count uci.out "^info string" 0 "refused moves"
moves=$(grep "^bestmove " uci.out | tr '\n' ' ')
echo "$moves" | grep -q -E '^bestmove [a-h][12][a-h][1-8] bestmove [a-h][78][a-h][1-8] $' ||
    fail "uci: light's move, then dark's: $moves"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed; the console's output ends with:"
    tail -30 console.out
    exit 1
fi
echo "long games to $long half-moves past a record of $capacity: console, XBoard and UCI mode passed"
