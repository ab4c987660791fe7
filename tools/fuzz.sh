#!/bin/bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for a
# given number of seconds, starting from its seed corpus in tests/fuzz/corpus.
# The fuzzers know the command words of each surface (tests/fuzz/dict/).
# Prints one line per target: executions, executions per second, corpus
# size and the outcome; a crash, sanitizer report, hang or leak leaves its
# input in build-fuzz/artifacts/ and makes the script fail.
# Usage: tools/fuzz.sh [seconds per target] [target name pattern]
#        tools/fuzz.sh --build-only
set -u
seconds=${1:-60}
pattern=${2:-.}
# The longest input tried, in bytes: scripts of a few dozen commands.
max_len=${FUZZ_MAX_LEN:-1024}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
mkdir -p "$build"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
    -DZORVU_FUZZ=ON -DZORVU_TESTS=OFF > "$build/build.log" 2>&1 &&
    cmake --build "$build" -j "$(nproc)" >> "$build/build.log" 2>&1 ||
    { cat "$build/build.log"; echo "fuzz build failed"; exit 2; }
[ "$seconds" = --build-only ] && exit 0

mkdir -p "$build/artifacts" "$build/logs"
failed=0
printf '%-16s %12s %8s %8s  %s\n' target executions 'exec/s' corpus outcome
for program in "$build"/fuzz_*; do
    target=$(basename "$program")
    echo "$target" | grep -q -- "$pattern" || continue
    surface=${target#fuzz_}
    surface=${surface%[0-9][0-9]}
    corpus=$build/corpus/$target
    mkdir -p "$corpus"
    log=$build/logs/$target.log
    # A run longer than 10 s is a hang; searches are one ply deep.
    dict=$root/tests/fuzz/dict/$surface.dict
    "$program" "$corpus" "$root/tests/fuzz/corpus/$surface" -dict="$dict" -max_len="$max_len" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=4096 \
        -artifact_prefix="$build/artifacts/$target-" -print_final_stats=1 > "$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ $status -eq 0 ]; then
        outcome=ok
    else
        outcome="FAILED (exit $status): $(grep -m1 -E 'ERROR|runtime error|deadly signal|timeout' "$log")"
        failed=1
    fi
    printf '%-16s %12s %8s %8s  %s\n' "$target" "${runs:-?}" "${speed:-?}" "$(ls "$corpus" | wc -l)" "$outcome"
done
exit $failed
