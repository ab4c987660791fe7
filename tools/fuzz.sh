#!/bin/bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a
# given number of seconds, starting from its seed corpus in tests/fuzz/corpus.
# The fuzzers know the command words of each surface (tests/fuzz/dict/).
# Prints one line per target: executions, executions per second, corpus
# size and the outcome; a crash, sanitizer report, hang or leak leaves its
# input in build-fuzz/artifacts/ and makes the script fail.
# Usage: tools/fuzz.sh [seconds per target] [target name pattern]
set -u
seconds=${1:-60}
pattern=${2:-.}
. "$(dirname "$0")/fuzz_lib.sh"
fuzz_start "$build"
failed=0
for program in $(fuzz_programs "$pattern"); do
    target=$(basename "$program")
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    run_fuzzer "$program" "$corpus" "$build/artifacts/$target-" "$build/logs/$target.log" -max_total_time="$seconds"
    [ $status -eq 0 ] || failed=1
    result_line "$target" "${runs:-?}" "${speed:-?}" "$(ls "$corpus" | wc -l)" "$outcome"
done
exit $failed
