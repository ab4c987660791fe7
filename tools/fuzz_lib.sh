# tools/fuzz_lib.sh: what fuzz.sh and fuzz_campaign.sh share (sourced by
# both): the fuzz build, the run of one target, and the result lines.
root=$(cd "$(dirname "$0")/.." && pwd)
build=${FUZZ_BUILD:-$root/build-fuzz}
# The longest input tried, in bytes: scripts of a few dozen commands.
max_len=${FUZZ_MAX_LEN:-512}

# fuzz_build [FOLDER [cmake settings]]: builds the libFuzzer targets with
# clang (into build-fuzz/ by default).
fuzz_build() {
    local dir=${1:-$build}
    shift $(($# > 0 ? 1 : 0))
    mkdir -p "$dir"
    CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
        -DZORVU_FUZZ=ON -DZORVU_TESTS=OFF "$@" > "$dir/build.log" 2>&1 &&
        cmake --build "$dir" -j "$(nproc)" >> "$dir/build.log" 2>&1 ||
        { cat "$dir/build.log"; echo "fuzz build failed"; exit 2; }
}

# The built targets whose names match a pattern.
fuzz_programs() {
    for program in "$build"/fuzz_*; do
        basename "$program" | grep -q -- "$1" && echo "$program"
    done
}

# The input surface a target feeds (fuzz_uci35: uci), which names its seeds
# and dictionary.
surface_of() {
    local surface
    surface=$(basename "$1")
    surface=${surface#fuzz_}
    echo "${surface%[0-9][0-9]}"
}

# run_fuzzer PROGRAM CORPUS ARTIFACT_PREFIX LOG [libFuzzer options]: runs a
# target from its corpus and its seeds, with the dictionary of its surface.
# A run longer than 10 s is a hang: searches are one ply deep. Sets status,
# runs (executions), speed (executions per second) and outcome.
run_fuzzer() {
    local program=$1 corpus=$2 artifacts=$3 log=$4 surface
    shift 4
    surface=$(surface_of "$program")
    "$program" "$corpus" "$root/tests/fuzz/corpus/$surface" -dict="$root/tests/fuzz/dict/$surface.dict" \
        -max_len="$max_len" -timeout=10 -rss_limit_mb=4096 -artifact_prefix="$artifacts" \
        -print_final_stats=1 "$@" > "$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    outcome=ok
    [ $status -eq 0 ] ||
        outcome="FAILED (exit $status): $(grep -m1 -E 'ERROR|runtime error|deadly signal|timeout' "$log")"
}

# One line of the results table (target, executions, per second, corpus, outcome).
result_line() { printf '%-16s %12s %8s %8s  %s\n' "$@"; }

# Builds the targets, makes the folders of findings and logs under the
# given folder, and prints the table's head.
fuzz_start() {
    fuzz_build
    mkdir -p "$1/artifacts" "$1/logs"
    result_line target executions 'exec/s' corpus outcome
}
