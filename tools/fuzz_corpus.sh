#!/bin/bash
# Refreshes the committed fuzz inputs (tests/fuzz/corpus/<surface>/) from a
# campaign's corpora: for each surface, libFuzzer's merge keeps the inputs
# that reach new edges (hit counts aside) for edition 3.5's target, then
# 3.0's, then 2.3's, on top of the hand-written seeds (the files whose names
# are words); at most CAP merged inputs are kept, the smallest first, so that
# CI's short runs start from them at once.
# Usage: tools/fuzz_corpus.sh [cap per surface] [corpus folder holding fuzz_<target>/]
#   (defaults: 300, the campaign's corpus)
set -u
cap=${1:-300}
corpora=${2:-${ZORVU_FUZZ_STATE:-$HOME/.cache/zorvu-fuzz}/corpus}
. "$(dirname "$0")/fuzz_lib.sh"
fuzz_build
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT

for surface in console xboard uci book fen; do
    seeds=$root/tests/fuzz/corpus/$surface
    rm -rf "$work/merged" && mkdir "$work/merged"
    for program in $(fuzz_programs "fuzz_$surface"); do
        target=$(basename "$program")
        [ -d "$corpora/$target" ] || continue
        "$program" -merge=1 -use_counters=0 -use_value_profile=0 "$work/merged" "$seeds" "$corpora/$target" > "$work/$target.log" 2>&1 ||
            { tail -5 "$work/$target.log"; exit 1; }
    done
    # The merge names inputs by their hash: the hand-written seeds stay as
    # they are (and are not copied again under their hash), and the earlier
    # merged inputs give way to the new ones.
    find "$seeds" -type f -regextype posix-extended -regex '.*/[0-9a-f]{40}' -delete
    (cd "$seeds" && sha1sum * | cut -c1-40) > "$work/named"
    ls -S -r "$work/merged" | grep -v -x -F -f "$work/named" | head -n "$cap" |
        while read -r input; do cp "$work/merged/$input" "$seeds/"; done
    printf '%-8s %4d inputs (%s)\n' "$surface" "$(ls "$seeds" | wc -l)" "$(du -sh "$seeds" | cut -f1)"
done
