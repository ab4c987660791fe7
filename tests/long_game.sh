#!/bin/sh
# A game longer than the game record: the knights go back and forth until
# the record is full, at the console and in XBoard mode. Moves that would not
# fit are refused (typed ones and the engine's own), the position stays
# right, "undo" and "remove" make room again, and the program ends cleanly.
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

# The knights' moves that fill the record: light out, dark out, light home,
# dark home.
knights() {
    awk -v n="$capacity" 'BEGIN { split("g1f3 g8f6 f3g1 f6g8", m, " ");
                                  for (i = 0; i < n; i++) print m[i % 4 + 1] }'
}

# Runs the program on the input file $1; output in $1.out, errors in $1.err,
# exit status in $status.
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
if printf 'fn\nbye\n' | "$program" | grep -q '^zorvu> tcadract,'; then
    START="tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT "
    KNIGHT_OUT="tcadra1t,pppppppp,5c2,8,8,8,PPPPPPPP,TCADRACT "
    E4="tcadract,pppppppp,8,8,4P3,8,PPPP1PPP,TCADRACT "
else
    START="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - "
    KNIGHT_OUT="rnbqkb1r/pppppppp/5n2/8/8/8/PPPPPPPP/RNBQKBNR b KQkq - "
    E4="rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - "   # the en passant field is always "-"
fi

FULL="^Game record full \\($capacity moves\\): move refused $"

# --- At the console ----------------------------------------------------------
{
    echo "sd 1"
    knights
    printf 'g1f3\ng1f3\ng1f3\n'   # refused: no room
    echo fn                       # the knights are home
    echo mr                       # the whole record is listed
    echo undo                     # dark's knight back on f6
    echo fn
    echo f6g8                     # room for one move again
    echo g1f3                     # refused
    echo on                       # the engine has no room: it stops
    echo fn
    echo undo
    echo on                       # room for the engine's move
    echo g1f3                     # refused again
    echo new
    echo e2e4
    echo fn
    echo bye
} > console
run console
expect_count console.out "$FULL" 6 "refusals"
expect_count console.out "^Computer's move: " 1 "engine moves"
expect_count console.out "^Illegal move" 0 "illegal moves"
expect_count console.out "^$((capacity / 2)) \\.f3g1 " 1 "last line of the game list"
expect_count console.out "^Zorvu 2000 - Gracias$" 1 "goodbye"
expected=$(printf '%s\n' "$START" "$KNIGHT_OUT" "$START" "$E4")
actual=$(positions console.out)
[ "$actual" = "$expected" ] || fail "console positions:
$actual
expected:
$expected"

# End of input with the record full ends the program as "bye" does.
{ echo "sd 1"; knights; echo g1f3; echo on; } > console_eof
run console_eof
expect_count console_eof.out "$FULL" 2 "refusals before end of input"

# --- In XBoard mode -----------------------------------------------------------
# Refusals: "Error (unknown): MOVE" (editions 3.5 and 3.0) or "Not yet
# supported: MOVE" (edition 2.3).
REFUSED="^(Error \\(unknown\\)|Not yet supported): "
{
    echo xboard
    echo "sd 1"
    knights
    printf 'g1f3\ng1f3\ng1f3\n'   # refused
    echo undo
    echo f6g8                     # accepted
    echo g1f3                     # refused
    echo go                       # the engine has no room: no move, it stops
    echo g1f3                     # refused
    echo undo
    echo go                       # the engine plays dark's move
    echo g1f3                     # refused
    echo force                    # the engine stops playing dark
    echo remove                   # the engine's move and f3g1
    echo f3g1
    echo f6g8                     # fills the record again
    echo g1f3                     # refused
    echo new
    echo e2e4                     # the engine plays dark after "new"
    echo quit
} > xboard
run xboard
expect_count xboard.out "$REFUSED" 7 "refusals"
expect_count xboard.out "${REFUSED}g1f3$" 7 "refusals of g1f3"
expect_count xboard.out "^move " 2 "engine moves"
# The engine's reply to e2e4 after "new" is a move of dark's from the start.
last=$(grep "^move " xboard.out | tail -1)
echo "$last" | grep -q -E '^move [a-h]7[a-h][56]$|^move [bg]8[a-h]6$' || fail "xboard: reply to e2e4: $last"

# End of input in XBoard mode with the record full.
{ echo xboard; echo "sd 1"; knights; echo g1f3; echo go; } > xboard_eof
run xboard_eof
expect_count xboard_eof.out "$REFUSED" 1 "refusals before end of input"
expect_count xboard_eof.out "^move " 0 "engine moves with the record full"

if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed; the console's output ends with:"
    tail -30 console.out
    exit 1
fi
echo "long game past $capacity half-moves: console and XBoard mode passed"
