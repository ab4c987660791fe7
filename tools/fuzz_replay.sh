#!/bin/bash
# Shows that a fuzz run leaves nothing behind for the next one: replays the
# first inputs of each target's corpus, each alone in a process of its own,
# then all in one process one after the other, and compares what the two
# printed. Only the clock's figures may differ. Leak checks are off: libFuzzer
# runs an input a second time to look for a leak, which would print twice.
# Usage: tools/fuzz_replay.sh [inputs per target] [target name pattern] [corpus folder holding fuzz_<target>/]
#   (defaults: 100, every front-end and book target, the campaign's corpus)
set -u
count=${1:-100}
pattern=${2:-'console\|xboard\|uci\|book'}
corpora=${3:-${ZORVU_FUZZ_STATE:-$HOME/.cache/zorvu-fuzz}/corpus}
. "$(dirname "$0")/fuzz_lib.sh"
fuzz_build
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT

# The clock's figures blanked: UCI's time and speed, the console's seconds
# and speed lines.
clockless() { sed -E 's/ (time|nps) [0-9]+/ \1 _/g; s/^(Time|Speed|Tiempo|Velocidad)[^0-9]*[0-9.]+.*$/\1 _/'; }

failed=0
for program in $(fuzz_programs "$pattern"); do
    target=$(basename "$program")
    inputs=$(ls "$corpora/$target" 2>/dev/null | head -n "$count" | sed "s|^|$corpora/$target/|")
    [ -n "$inputs" ] || { echo "$target: no corpus in $corpora/$target"; failed=1; continue; }
    : > "$work/alone"
    for input in $inputs; do
        ZORVU_FUZZ_OUTPUT="$work/one" "$program" -detect_leaks=0 "$input" > "$work/log" 2>&1 || { echo "$target: $input failed"; failed=1; }
        cat "$work/one" >> "$work/alone"
    done
    ZORVU_FUZZ_OUTPUT="$work/together" "$program" -detect_leaks=0 $inputs > "$work/log" 2>&1 || { echo "$target: the run of all failed"; failed=1; }
    if diff <(clockless < "$work/alone") <(clockless < "$work/together") > "$work/diff"; then
        printf '%-16s %4d inputs: the same output alone and one after another\n' "$target" "$(echo "$inputs" | wc -l)"
    else
        printf '%-16s differs:\n' "$target"
        head -20 "$work/diff"
        failed=1
    fi
done
exit $failed
