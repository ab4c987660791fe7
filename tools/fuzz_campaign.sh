#!/bin/bash
# A long fuzz campaign: runs every fuzz target (or those matching a pattern)
# until it has executed a given number of inputs in all, in chunks, keeping
# its corpus, counts and findings outside the tree so that a later call goes
# on where the last one stopped. After each chunk the corpus is minimized
# with libFuzzer's merge. Prints, per target, the executions so far, the
# executions per second of the last chunk, the corpus size and the outcome.
# Usage: tools/fuzz_campaign.sh [executions per target] [target name pattern]
#   (default 1000000; state in $ZORVU_FUZZ_STATE, default ~/.cache/zorvu-fuzz)
set -u
goal=${1:-1000000}
pattern=${2:-.}
chunk=${FUZZ_CHUNK:-250000}
max_len=${FUZZ_MAX_LEN:-1024}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
state=${ZORVU_FUZZ_STATE:-$HOME/.cache/zorvu-fuzz}
"$root/tools/fuzz.sh" --build-only || exit 2
mkdir -p "$state/artifacts" "$state/logs"

failed=0
printf '%-16s %12s %8s %8s  %s\n' target executions 'exec/s' corpus outcome
for program in "$build"/fuzz_*; do
    target=$(basename "$program")
    echo "$target" | grep -q -- "$pattern" || continue
    surface=${target#fuzz_}
    surface=${surface%[0-9][0-9]}
    corpus=$state/corpus/$target
    count=$state/$target.runs
    log=$state/logs/$target.log
    mkdir -p "$corpus"
    done_runs=$(cat "$count" 2>/dev/null || echo 0)
    speed=-
    outcome=ok
    while [ "$done_runs" -lt "$goal" ]; do
        runs=$((goal - done_runs < chunk ? goal - done_runs : chunk))
        "$program" "$corpus" "$root/tests/fuzz/corpus/$surface" -runs="$runs" \
            -dict="$root/tests/fuzz/dict/$surface.dict" -max_len="$max_len" \
            -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$state/artifacts/$target-" \
            -print_final_stats=1 > "$log" 2>&1
        status=$?
        executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
        speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
        done_runs=$((done_runs + ${executed:-0}))
        echo "$done_runs" > "$count"
        if [ $status -ne 0 ]; then
            outcome="FAILED (exit $status): $(grep -m1 -E 'ERROR|runtime error|deadly signal|timeout' "$log")"
            failed=1
            break
        fi
        # Keep only the inputs that add coverage.
        rm -rf "$corpus.merged" && mkdir "$corpus.merged" &&
            "$program" -merge=1 "$corpus.merged" "$corpus" > "$state/logs/$target.merge.log" 2>&1 &&
            rm -rf "$corpus" && mv "$corpus.merged" "$corpus"
    done
    printf '%-16s %12s %8s %8s  %s\n' "$target" "$done_runs" "$speed" "$(ls "$corpus" | wc -l)" "$outcome"
done
exit $failed
