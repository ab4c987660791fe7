#!/bin/sh
# Runs a program with arguments and compares its whole standard output with
# the expected file; shows a diff on a mismatch.
expected=$1
shift
actual=$(mktemp) || exit 2
trap 'rm -f "$actual"' EXIT
"$@" > "$actual" || { echo "exit status $?"; exit 1; }
diff -u "$expected" "$actual"
