#!/bin/sh
# Feeds a script to a program and compares its whole output with the
# expected file; shows a diff on a mismatch. Runs in an empty directory so
# that no book file of the developer's takes part.
program=$1 input=$2 expected=$3
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
"$program" < "$input" > actual
status=$?
if [ $status -ne 0 ]; then
    echo "exit status $status"
    exit 1
fi
diff -u "$expected" actual
