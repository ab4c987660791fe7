#!/bin/bash
# Each edition's bench at its signature depth beside Debian's stockfish
# `bench 16 1 13` (one thread), run in turns on the same machine: per program
# the median bench time and nodes per second over the runs, and each
# edition's nodes per second as a ratio to stockfish's. Stockfish is only a
# yardstick: it is installed here when missing and the programs never use it.
# Usage: bench/speed.sh [runs] [build dir]   (default 5 runs, build/)
# A benchmark, not a test: it prints figures and never fails on speed.
runs=${1:-5}
build=${2:-build}
EDITIONS=("zorvu35 5" "zorvu30 5" "zorvu 4")   # program and signature depth

for e in "${EDITIONS[@]}"; do
    set -- $e
    [ -x "$build/$1-bench" ] || { echo "no $build/$1-bench (run make first)"; exit 2; }
done

stockfish=$(command -v stockfish || ls /usr/games/stockfish 2>/dev/null)
if [ -z "$stockfish" ] && [ "$(id -u)" = 0 ]; then
    apt-get update -qq >/dev/null && apt-get install -y -qq stockfish >/dev/null
    stockfish=$(command -v stockfish || ls /usr/games/stockfish 2>/dev/null)
fi
[ -n "$stockfish" ] || echo "stockfish is missing (apt-get install stockfish as root): no ratios"

declare -A times nps
# One run of every program, in turns, so that a busy moment of the machine
# falls on all of them alike.
for ((r = 1; r <= runs; r++)); do
    for e in "${EDITIONS[@]}"; do
        set -- $e
        out=$("$build/$1-bench" "$2")
        t=$(echo "$out" | sed -n 's/^time: \([0-9.]*\) s$/\1/p')
        n=$(echo "$out" | sed -n 's/^nodes\/s: //p')
        times[$1]+="$t "
        nps[$1]+="$n "
    done
    if [ -n "$stockfish" ]; then
        out=$("$stockfish" bench 16 1 13 2>&1)
        t=$(echo "$out" | sed -n 's/^Total time (ms) *: //p')
        n=$(echo "$out" | sed -n 's/^Nodes\/second *: //p')
        times[stockfish]+="$(awk -v ms="$t" 'BEGIN { printf "%.3f", ms / 1000 }') "
        nps[stockfish]+="$n "
    fi
done

median() { printf '%s\n' $1 | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

sf_nps=$( [ -n "$stockfish" ] && median "${nps[stockfish]}" )
echo "medians of $runs runs ($build)"
printf '%-10s %10s %12s %10s\n' program "time (s)" "nodes/s" "x stockfish"
for e in "${EDITIONS[@]}" "stockfish -"; do
    set -- $e
    [ -n "${times[$1]}" ] || continue
    t=$(median "${times[$1]}")
    n=$(median "${nps[$1]}")
    ratio=$( [ -n "$sf_nps" ] && awk -v a="$n" -v b="$sf_nps" 'BEGIN { printf "%.2f", a / b }' )
    printf '%-10s %10s %12s %10s\n' "$1" "$t" "$n" "${ratio:--}"
done
