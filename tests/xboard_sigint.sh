#!/bin/sh
# In XBoard mode the engine outlives the SIGINT that interfaces send, and
# goes on answering moves.
program=$1
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
mkfifo input
# A background job of a script starts with SIGINT ignored; restore the
# default action, as an interface starting the engine would have it.
env --default-signal=INT "$program" < input > output &
pid=$!
exec 3> input
# A hint answered shows that XBoard mode is on (in every edition).
printf 'xboard\nsd 1\nhint\n' >&3
tries=0
until grep -q "^Hint: " output; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { echo "no answer in XBoard mode"; exit 1; }
    sleep 0.1
done
kill -INT $pid
printf 'sd 1\nnew\ne2e4\nquit\n' >&3
exec 3>&-
wait $pid
status=$?
[ $status -eq 0 ] || { echo "exit status $status"; exit 1; }
grep -q "^move " output || { echo "no move after SIGINT"; cat output; exit 1; }
