#!/bin/sh
# A transposition table larger than the memory the program may have is
# refused: the program keeps the table it has and goes on answering and
# searching. The plain build runs under an address-space limit (ulimit -v);
# a sanitizer's build, which reserves more address space than such a limit
# leaves it, runs under its allocator's own limit instead, with a failed
# allocation answered by a null pointer.
# Usage: hash_memory_short.sh PROGRAM [plain|sanitized]
program=$1
kind=${2:-plain}
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
# The end of the input ends the program once the search has answered.
printf '%s\n' uci "setoption name Hash value 4096" "setoption name Hash value 65536" isready \
    "position startpos moves e2e4" "go depth 4" > input
if [ "$kind" = sanitized ]; then
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}allocator_may_return_null=1:max_allocation_size_mb=1024" \
        "$program" < input > output 2> errors
else
    (ulimit -v 1000000 && exec "$program" < input > output 2> errors)
fi
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; cat errors; tail output; exit 1; }
[ "$(grep -c '^info string Hash' output)" -eq 2 ] || { echo "the sizes were not refused"; cat output; exit 1; }
grep -q '^readyok' output || { echo "isready not answered"; cat output; exit 1; }
grep -q '^bestmove [a-h][1-8][a-h][1-8]' output || { echo "no searched move"; cat output; exit 1; }
echo "refused a table beyond the memory limit and searched on"
