#!/bin/sh
# Deep perft counts with timing: prints, per position and depth, the node
# count (checked against the published one) and the nodes per second.
# Usage: bench/perft.sh [perft-program]   (default build/zorvu35-perft)
# A benchmark, not a test: it reports mismatches but takes no part in CI.
program=${1:-build/zorvu35-perft}
[ -x "$program" ] || { echo "no perft program at $program (run make first)"; exit 2; }

run() {
    fen=$1 depth=$2 expected=$3
    start=$(date +%s%N)
    nodes=$("$program" "$fen" "$depth" | sed -n 's/^Nodes searched: //p')
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    [ "$ms" -gt 0 ] || ms=1
    status=ok
    [ "$nodes" = "$expected" ] || status="MISMATCH (expected $expected)"
    printf '%-10s depth %d  %12s nodes  %7d ms  %10d nodes/s  %s\n' \
        "$4" "$depth" "$nodes" "$ms" $(( nodes * 1000 / ms )) "$status"
}

START="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
CASTLES="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1"
ENDGAME="8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1"
PROMOTIONS="r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"
CHECKS="rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8"
MIDDLE="r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10"

run "$START" 5 4865609 start
run "$START" 6 119060324 start
run "$CASTLES" 4 4085603 castles
run "$ENDGAME" 5 674624 endgame
run "$PROMOTIONS" 4 422333 promotions
run "$CHECKS" 3 62379 checks
run "$MIDDLE" 4 3894594 middle
