#!/bin/sh
# Feeds a script to a program and compares its whole output with the
# expected file; shows a diff on a mismatch. Runs in an empty directory so
# that no book file of the developer's takes part. Timing fields are masked:
# the centiseconds of thinking and summary lines, and the "NPS: " part that
# only searches of a second or more print, and the time and speed of UCI
# info lines; the UCI lines that come by the clock (the move being searched,
# the counts once a second) are left out.
# With "-" as the expected file it prints the masked output instead, for
# writing a new expected file.
program=$1 input=$2 expected=$3
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
"$program" < "$input" > raw
status=$?
if [ $status -ne 0 ]; then
    echo "exit status $status"
    exit 1
fi
sed -E \
    -e 's/^((zorvu> )*[ 0-9]{3}[ 0-9-]{6})[ 0-9]{7}([ 0-9]{10}    )/\1      T\3/' \
    -e 's/^NPS: [0-9]+ - Evaluacion: -?[0-9]+ \.\.\.\.\. $//' \
    -e 's/^(info .*) time [0-9]+ (nodes [0-9]+) nps [0-9]+/\1 time T \2 nps N/' \
    -e '/^info (currmove|time) /d' \
    raw > actual
if [ "$expected" = "-" ]; then
    cat actual
    exit 0
fi
diff -u "$expected" actual
