#!/bin/sh
# The book survives SIGKILL. A large book is grown over and over ("ab", a
# move, "undo"), and the program is killed at a random moment; then it is
# started again in the same directory, as a user would after a crash. After
# every kill, one of open.dat and open.tmp must hold every line of the book
# as it stood before that run (a line grown by the run counts: it still
# starts with its old text). At the end, a run that is not killed must find
# the whole book in open.dat and leave the same book in open.tmp.
# Usage: book_kill.sh PROGRAM [ROUNDS]; BOOK_KILL_SEED picks the delays.
program=$1 rounds=${2:-200}
[ -n "$program" ] || { echo "usage: book_kill.sh PROGRAM [ROUNDS]"; exit 2; }
case $program in /*) ;; *) program=$(pwd)/$program ;; esac
seed=${BOOK_KILL_SEED:-$(date +%s)}
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2

START_KEY="tcadract,pppppppp,8,8,8,8,PPPPPPPP,TCADRACT"

# The book: one line per placement of the two kings (4032 lines, 140 kB),
# keys as the program writes them ('R' is the king), two entries each.
awk '
function rank_text(r,   f, s, run, c) {
    s = ""; run = 0
    for (f = 0; f < 8; f++) {
        c = board[r * 8 + f]
        if (c == "") { run++; continue }
        if (run) { s = s run; run = 0 }
        s = s c
    }
    return run ? s run : s
}
BEGIN {
    for (wk = 0; wk < 64; wk++) for (bk = 0; bk < 64; bk++) {
        if (wk == bk) continue
        delete board
        board[wk] = "R"; board[bk] = "r"
        key = rank_text(0)
        for (r = 1; r < 8; r++) key = key "," rank_text(r)
        print key " /" (wk + bk) % 2 "/" wk "," (wk + 1) % 64 "/" bk "," (bk + 8) % 64 "/"
    }
}' > open.dat
cp open.dat reference

# Many additions in a row: the light moves of the initial position go to
# the book's line of the initial position, one rewrite of the whole book each.
awk 'BEGIN { split("e2e4 d2d4 c2c4 g1f3", m, " ");
             for (i = 0; i < 2000; i++) print "ab\n" m[i % 4 + 1] "\nundo" }' > input

# holds FILE: 0 when FILE holds every line of the reference, the line of
# the same key and side digit starting with the reference's text.
holds() {
    [ -f "$1" ] || return 1
    awk 'function id(line) { return substr(line, 1, index(line, " ") + 2) }
         FNR == NR { want[id($0)] = $0; next }
         { have[id($0)] = $0 }
         END {
             for (k in want) if (!(k in have) || index(have[k], want[k]) != 1) exit 1
             exit 0
         }' reference "$1"
}

# The delays, 0 to 60 ms: a start-up takes a few milliseconds, a rewrite
# of this book one or two.
awk -v n="$rounds" -v seed="$seed" 'BEGIN { srand(seed); for (i = 0; i < n; i++) printf "%.3f\n", rand() * 0.06 }' > delays

killed=0 dat_partial=0 tmp_partial=0 failures=0 round=0
while read -r delay; do
    round=$((round + 1))
    "$program" < input > output 2>&1 &
    pid=$!
    sleep "$delay"
    kill -KILL $pid 2> /dev/null
    wait $pid 2> /dev/null
    [ $? -eq 137 ] && killed=$((killed + 1))
    dat=0 tmp=0
    holds open.dat && dat=1
    holds open.tmp && tmp=1
    [ $dat -eq 0 ] && dat_partial=$((dat_partial + 1))
    [ $tmp -eq 0 ] && [ -f open.tmp ] && tmp_partial=$((tmp_partial + 1))
    if [ $dat -eq 1 ]; then
        cp open.dat reference
    elif [ $tmp -eq 1 ]; then
        cp open.tmp reference
    else
        failures=$((failures + 1))
        echo "round $round (delay $delay s): the book is lost: neither file holds it"
        wc -lc reference open.dat open.tmp 2> /dev/null
        break
    fi
done < delays

# A kill during the writing of open.tmp leaves it without the whole book; one
# that leaves open.dat without it came while open.dat itself was written.
echo "seed $seed: $round rounds, $killed killed while running," \
     "$tmp_partial left open.tmp without the whole book, $dat_partial left open.dat without it"
[ $failures -eq 0 ] || exit 1

# A run to its end after all those kills: the whole book is in open.dat,
# grown by one entry, and open.tmp holds a copy of it.
printf 'ab\ne2e4\nbye\n' | "$program" > output 2>&1 || { echo "last run: exit status $?"; exit 1; }
grep -q "^Book update $" output || { echo "last run: no book update"; cat output; exit 1; }
holds open.dat || { echo "last run: open.dat lost lines"; exit 1; }
grep -q "^$START_KEY /0/.*52,36/\$" open.dat || { echo "last run: the entry was not added"; exit 1; }
[ "$(grep -c "^$START_KEY /0/" open.dat)" -eq 1 ] || { echo "last run: the line of the entry is not alone"; exit 1; }
cmp -s open.dat open.tmp || { echo "last run: open.tmp is not a copy of the new book"; exit 1; }
