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
state=${ZORVU_FUZZ_STATE:-$HOME/.cache/zorvu-fuzz}
. "$(dirname "$0")/fuzz_lib.sh"
fuzz_start "$state"
failed=0
for program in $(fuzz_programs "$pattern"); do
    target=$(basename "$program")
    corpus=$state/corpus/$target
    count=$state/$target.runs
    mkdir -p "$corpus"
    done_runs=$(cat "$count" 2>/dev/null || echo 0)
    speed=-
    outcome=ok
    while [ "$done_runs" -lt "$goal" ]; do
        run_fuzzer "$program" "$corpus" "$state/artifacts/$target-" "$state/logs/$target.log" \
            -runs=$((goal - done_runs < chunk ? goal - done_runs : chunk))
        done_runs=$((done_runs + ${runs:-0}))
        echo "$done_runs" > "$count"
        if [ $status -ne 0 ]; then
            failed=1
            break
        fi
        # Keep only the inputs that add coverage.
        rm -rf "$corpus.merged" && mkdir "$corpus.merged" &&
            "$program" -merge=1 "$corpus.merged" "$corpus" > "$state/logs/$target.merge.log" 2>&1 &&
            rm -rf "$corpus" && mv "$corpus.merged" "$corpus"
    done
    result_line "$target" "$done_runs" "$speed" "$(ls "$corpus" | wc -l)" "$outcome"
done
exit $failed
