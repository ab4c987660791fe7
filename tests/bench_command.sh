#!/bin/sh
# "PROGRAM bench [depth [threads]]" from the command line: the same node
# count as the edition's bench tool, ending with the line "<nodes> nodes
# <nps> nps" that test frameworks read, on two threads too; a bad depth, a
# bad thread count or any other argument is refused with a message on
# stderr and exit status 2, before anything starts.
#   tests/bench_command.sh PROGRAM BENCH_TOOL [depth]
set -u
program=${1:?usage: tests/bench_command.sh PROGRAM BENCH_TOOL [depth]}
tool=$2
shift 2
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

"$tool" "$@" > tool.out || fail "bench tool exited with status $?"
"$program" bench "$@" > program.out 2> program.err || fail "$program bench exited with status $?"
[ -s program.err ] && fail "bench wrote to stderr: $(cat program.err)"
expected=$(sed -n 's/^signature: //p' tool.out)
last=$(tail -n 1 program.out)
echo "$last" | grep -q -x -E '[0-9]+ nodes [0-9]+ nps' || fail "last line '$last' is not '<nodes> nodes <nps> nps'"
[ "${last%% *}" = "$expected" ] || fail "bench counted ${last%% *} nodes, the tool $expected"

"$program" bench 2 2 > threads.out 2>&1 || fail "bench 2 2 exited with status $?"
tail -n 1 threads.out | grep -q -x -E '[0-9]+ nodes [0-9]+ nps' || fail "bench 2 2 ended with '$(tail -n 1 threads.out)'"

for arguments in "bench 0" "bench 18" "bench x" "bench 4 0" "bench 4 257" "bench 4 2 1" "bench4" "--help"; do
    # shellcheck disable=SC2086  # one word per argument
    "$program" $arguments < /dev/null > refused.out 2> refused.err
    status=$?
    [ $status -eq 2 ] || fail "'$arguments': exit status $status, not 2"
    [ -s refused.err ] || fail "'$arguments': no message on stderr"
    [ -s refused.out ] && fail "'$arguments': wrote to stdout: $(head -n 3 refused.out)"
done
[ $failures -eq 0 ] && echo "bench from the command line: ok ($last)"
[ $failures -eq 0 ]
