#!/bin/sh
# Soak test: many fast games between the three editions through their XBoard
# (or UCI) mode, refereed by tools/referee.py (its own move generator and game rules).
# Usage: tools/soak.sh [games per pairing] [limit] [build dir]
#   e.g. tools/soak.sh 20 "sd 3" build
#   The limit is an XBoard command ("sd 3", "st 1") or a clock kept by the
#   referee, "tc BASE+INC" in seconds: SOAK_PROTO=uci tools/soak.sh 100 "tc 10+0.1" build
# Environment: SOAK_SEED (default 1), SOAK_TIMEOUT seconds per move (default 60;
# give the sanitizer build more), SOAK_OUT directory for the game logs
# (default <build dir>/soak-logs), SOAK_PLIES random opening plies
# (default 4), SOAK_PAIRINGS to run only some pairings (e.g. "35-23 30-30"),
# SOAK_PROGRAM_35, SOAK_PROGRAM_30, SOAK_PROGRAM_23 to name a program other
# than the one in the build directory, SOAK_PROTO=uci to play the programs in
# UCI mode (default xboard), SOAK_QUIET=1 to leave out the line of each game
# (those of games with faults are still printed), SOAK_PONDER=1 to have both
# programs ponder (UCI mode only), SOAK_OPTIONS to give both programs engine
# options, NAME=VALUE separated by ";" (e.g. "Hash=64;OwnBook=false": UCI
# engines get "setoption name Hash value 64", XBoard ones "option Hash=64").
# Prints a line per game and per pairing, then a table of the pairings; the
# first edition of a pairing is side A, the second side B, and every line
# names a side as "35(A)" or "35(B)", so that a pairing of an edition with
# itself says which side won. Exits non-zero when any illegal move, crash,
# hang, refused legal move, time loss or ponder fault happened.
set -u
games=${1:-20}
limit=${2:-sd 3}
build=${3:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
seed=${SOAK_SEED:-1}
timeout=${SOAK_TIMEOUT:-60}
plies=${SOAK_PLIES:-4}
pairings=${SOAK_PAIRINGS:-35-35 30-30 23-23 35-30 35-23 30-23}
out=${SOAK_OUT:-$build/soak-logs}
proto=${SOAK_PROTO:-xboard}
quiet=
[ "${SOAK_QUIET:-0}" = 0 ] || quiet=--quiet
case $limit in
    "tc "*) set -- --tc "${limit#tc }" ;;
    *) set -- --limit "$limit" ;;
esac
ponder=0
if [ "${SOAK_PONDER:-0}" != 0 ]; then
    [ "$proto" = uci ] || { echo "SOAK_PONDER=1 needs SOAK_PROTO=uci"; exit 2; }
    ponder=1
    set -- "$@" --ponder
fi
# Each option goes to both sides; the fields are not expanded as file names.
set -f
old_ifs=$IFS
IFS=';'
for option in ${SOAK_OPTIONS:-}; do
    [ -n "$option" ] && set -- "$@" --option-a "$option" --option-b "$option"
done
IFS=$old_ifs
set +f

program() {
    case $1 in
        35) echo "${SOAK_PROGRAM_35:-$build/zorvu35}" ;;
        30) echo "${SOAK_PROGRAM_30:-$build/zorvu30}" ;;
        23) echo "${SOAK_PROGRAM_23:-$build/zorvu}" ;;
    esac
}

for edition in 35 30 23; do
    p=$(program $edition)
    [ -x "$p" ] || { echo "no program at $p (build it first)"; exit 2; }
done

mkdir -p "$out"
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
started=$(date +%s)
broken=0
for pairing in $pairings; do
    a=${pairing%-*}
    b=${pairing#*-}
    python3 "$root/tools/referee.py" --engine-a "$(program "$a")" --engine-b "$(program "$b")" \
        --name-a "$a" --name-b "$b" --games "$games" "$@" --proto-a "$proto" --proto-b "$proto" --seed "$seed" \
        --random-plies "$plies" --move-timeout "$timeout" --outdir "$out" \
        --summary-file "$summary" $quiet
    # 0: clean, 1: faults seen; anything else means the referee itself failed.
    status=$?
    [ $status -le 1 ] || { echo "referee failed on pairing $pairing (status $status)"; broken=1; }
done

echo
echo "limit \"$limit\", $proto protocol, $games games per pairing, programs from $build, seed $seed, $(( $(date +%s) - started )) s"
# With pondering, three more columns: the ponder faults and each side's ponder
# hits out of the ponder searches it started.
if [ $ponder = 1 ]; then
    printf '%-12s %6s %7s %7s %6s %8s %8s %6s %9s %11s %6s %9s %9s\n' pairing games "A wins" "B wins" draws \
        illegal crashes hangs rejected "time losses" ponder "A hits" "B hits"
else
    printf '%-12s %6s %7s %7s %6s %8s %8s %6s %9s %11s\n' pairing games "A wins" "B wins" draws \
        illegal crashes hangs rejected "time losses"
fi
awk -F'\t' -v ponder=$ponder '{ split($1, side, "-")
    printf "%-12s %6d %7d %7d %6d %8d %8d %6d %9d %11d", side[1] "(A)-" side[2] "(B)", $2, $3, $4, $5, $6, $7, $8, $9, $10
    if (ponder) printf " %6d %9s %9s", $11, $12 "/" $13, $14 "/" $15
    printf "\n" }' "$summary"
echo "(side A is the first edition of the pairing, B the second; game logs in $out)"
[ $broken -eq 0 ] || exit 1
awk -F'\t' '{ bad += $6 + $7 + $8 + $9 + $10 + $11 } END { exit bad > 0 }' "$summary"
