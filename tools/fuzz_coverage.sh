#!/bin/bash
# Line coverage of the code the fuzz targets drive: builds the targets with
# clang's source-based coverage (build-cover/), replays each target's corpus
# (the campaign's, or the one in the given folder) and the committed inputs, and
# prints, per edition, the coverage of each input-facing source file by all
# that edition's targets together, then per target. The lines no input
# reaches go to build-cover/<edition>.unreached.txt.
# Usage: tools/fuzz_coverage.sh [corpus folder holding fuzz_<target>/]
#   (default $ZORVU_FUZZ_STATE/corpus, else ~/.cache/zorvu-fuzz/corpus)
set -u
. "$(dirname "$0")/fuzz_lib.sh"
corpora=${1:-${ZORVU_FUZZ_STATE:-$HOME/.cache/zorvu-fuzz}/corpus}
cover=$root/build-cover
llvm=$(ls -d /usr/lib/llvm-*/bin | sort -V | tail -1)
# What a person, a GUI or a book file can feed the programs: the sources of
# each edition that read it (each edition compiles its own copy).
common="frontend/console.cpp frontend/commands.cpp frontend/input.cpp frontend/xboard.cpp frontend/uci.cpp
    board/fen.cpp board/print.cpp book/book.cpp"
input_sources_35="$common board/setup.cpp frontend/hooks35_30.cpp frontend/texts.cpp"
input_sources_30="$common board/setup.cpp frontend/hooks35_30.cpp editions/v30/texts.cpp"
input_sources_23="$common editions/v23/texts.cpp editions/v23/loader.cpp"

fuzz_build "$cover" -DCMAKE_CXX_FLAGS="-fprofile-instr-generate -fcoverage-mapping" \
    -DCMAKE_EXE_LINKER_FLAGS="-fprofile-instr-generate"

# The input-reading sources of an edition (35, 30 or 23), with their paths.
sources_of() {
    local list=input_sources_$1
    for source in ${!list}; do echo "$root/$source"; done
}

# Replays one target's inputs; leaves its raw profile in build-cover/profiles.
replay() {
    local program=$1 target surface
    target=$(basename "$program")
    surface=$(surface_of "$program")
    mkdir -p "$cover/profiles" "$cover/empty"
    LLVM_PROFILE_FILE="$cover/profiles/$target.profraw" "$program" -runs=0 \
        $( [ -d "$corpora/$target" ] && echo "$corpora/$target") "$root/tests/fuzz/corpus/$surface" \
        > "$cover/profiles/$target.log" 2>&1 || { echo "$target: replay failed"; tail -5 "$cover/profiles/$target.log"; }
}

for edition in 35 30 23; do
    programs=$(ls "$cover"/fuzz_*"$edition")
    objects=()
    for program in $programs; do
        replay "$program"
        objects+=(-object "$program")
    done
    "$llvm/llvm-profdata" merge -o "$cover/$edition.profdata" "$cover"/profiles/fuzz_*"$edition".profraw
    echo "== edition $edition: every target together"
    "$llvm/llvm-cov" report "${objects[@]:1}" -instr-profile="$cover/$edition.profdata" $(sources_of "$edition") 2>&1 |
        grep -v 'mismatched data' | sed "s|$root/||"
    "$llvm/llvm-cov" show "${objects[@]:1}" -instr-profile="$cover/$edition.profdata" $(sources_of "$edition") \
        -show-line-counts -use-color=false 2>/dev/null | sed "s|$root/||" |
        awk '/^[^ |].*\.cpp:$/ { file = $0 } / +[0-9]+\| +0\|/ { print file " " $0 }' > "$cover/$edition.unreached.txt"
    # Per target: the lines of the functions it enters at all.
    for program in $programs; do
        target=$(basename "$program")
        "$llvm/llvm-profdata" merge -o "$cover/$target.profdata" "$cover/profiles/$target.profraw"
        "$llvm/llvm-cov" report -show-functions "$program" -instr-profile="$cover/$target.profdata" \
            $(sources_of "$edition") 2>/dev/null |
            awk -v target="$target" '$1 != "TOTAL" && NF >= 10 && $(NF-8) ~ /^[0-9]+$/ && $(NF-7) < $(NF-8) {
                    functions++; lines += $(NF-5); missed += $(NF-4) }
                END { printf "%-16s %d of %d lines (%.1f%%) in the %d functions it enters\n",
                      target, lines - missed, lines, 100 * (lines - missed) / lines, functions }'
    done
done
