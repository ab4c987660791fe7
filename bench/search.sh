#!/bin/bash
# Fixed-depth searches of varied positions through the console ("setboard",
# "sd N", "on"): total nodes, seconds and nodes per second, as the median of
# three runs; then a check that "st 2" answers in about two seconds.
# Usage: bench/search.sh [program] [depth]   (default build/zorvu35, depth 7)
# A benchmark, not a test: it prints figures and never fails on speed.
program=${1:-build/zorvu35}
depth=${2:-7}
[ -x "$program" ] || { echo "no program at $program (run make first)"; exit 2; }
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2   # no book here: every move is searched

POSITIONS=(
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
    "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3"
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5"
    "r1bqk2r/pppp1ppp/2n2n2/2b1p3/2B1P3/3P1N2/PPP2PPP/RNBQK2R w KQkq - 1 5"
    "rnbqk2r/ppp1bppp/4pn2/3p2B1/2PP4/2N5/PP2PPPP/R2QKBNR w KQkq - 4 5"
    "r2q1rk1/ppp2ppp/2np1n2/2b1p1B1/2B1P1b1/2NP1N2/PPP2PPP/R2Q1RK1 w - - 6 8"
    "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
    "2rq1rk1/pp1bppbp/2np1np1/8/3NP3/1BN1BP2/PPPQ2PP/2KR3R b - - 7 11"
    "r1b2rk1/2q1bppp/p2ppn2/1p6/3BPP2/2NB4/PPP1Q1PP/2KR3R w - - 0 13"
    "3r1rk1/p4ppp/1qp1bn2/4p3/4P3/1BN1Q3/PPP2PPP/3R1RK1 w - - 0 17"
    "r1bq1rk1/pp3ppp/2nbpn2/3p4/2PP4/1PNB1N2/P4PPP/R1BQ1RK1 b - - 0 9"
    "2kr3r/ppp2ppp/2n5/2b1p3/4P1b1/2NP1N2/PPP2PPP/R1B2RK1 w - - 2 11"
    "6k1/5ppp/8/8/8/2N5/1B3PPP/3R2K1 w - - 0 1"
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"
    "5k2/5p2/4p1p1/3nP3/1p3P2/1P1B2P1/6K1/8 w - - 0 40"
    "8/8/4k3/8/2P5/8/5K2/8 w - - 0 1"
    "r5k1/p4ppp/8/3P4/8/2P5/P4PPP/6K1 b - - 0 1"
    "2r3k1/5pp1/p6p/1p1Pp3/1P2P3/P4PP1/5K1P/2R5 w - - 0 30"
    "8/5pk1/6p1/7p/P6P/6P1/5PK1/8 w - - 0 40"
)

run_once() {
    local nodes=0 start end
    start=$(date +%s%N)
    for fen in "${POSITIONS[@]}"; do
        local out
        out=$(printf 'setboard %s\nsd %d\non\nbye\n' "$fen" "$depth" | "$program")
        local n q
        n=$(echo "$out" | sed -n 's/^Nodes: \([0-9]*\) Qnodes: \([0-9]*\)$/\1/p')
        q=$(echo "$out" | sed -n 's/^Nodes: \([0-9]*\) Qnodes: \([0-9]*\)$/\2/p')
        if [ -z "$n" ]; then
            # An edition without a node-count line: the node column of its
            # last thinking line.
            n=$(echo "$out" | sed -E -n 's/^(zorvu> )*[ 0-9]{3}[ 0-9-]{6}[ 0-9]{7} *([0-9]+)    .*/\2/p' | tail -1)
            q=0
        fi
        nodes=$((nodes + ${n:-0} + q))
    done
    end=$(date +%s%N)
    echo "$nodes $(( (end - start) / 1000000 ))"
}

echo "${#POSITIONS[@]} positions at depth $depth"
results=()
for i in 1 2 3; do
    r=$(run_once)
    set -- $r
    printf 'run %d: %d nodes in %d.%03d s: %d nodes/s\n' "$i" "$1" $(($2 / 1000)) $(($2 % 1000)) $(($1 * 1000 / ($2 > 0 ? $2 : 1)))
    results+=("$2 $1")
done
median=$(printf '%s\n' "${results[@]}" | sort -n | sed -n 2p)
set -- $median
printf 'median: %d nodes in %d.%03d s: %d nodes/s\n' "$2" $(($1 / 1000)) $(($1 % 1000)) $(($2 * 1000 / ($1 > 0 ? $1 : 1)))

start=$(date +%s%N)
move=$(printf 'setboard %s\nst 2\non\nbye\n' "${POSITIONS[6]}" | "$program" | sed -n 's/.*Computer.s move: //p')
end=$(date +%s%N)
ms=$(( (end - start) / 1000000 ))
verdict="ok"
[ -n "$move" ] && [ "$ms" -lt 2600 ] || verdict="SLOW or no move"
printf 'st 2: move %s after %d.%03d s (%s)\n' "$move" $((ms / 1000)) $((ms % 1000)) "$verdict"
