#!/bin/sh
# A book grown by one edition is read by the other: the file format is the
# same in every edition.
writer=$1 reader=$2
work=$(mktemp -d) || exit 2
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 2
printf 'ab\ne2e4\nab\ne7e5\nbye\n' | "$writer" > /dev/null || exit 1
out=$(printf 'sd 1\non\ne7e5\nbye\n' | "$reader")
echo "$out" | grep -q "In Book: 52,36  $" || { echo "the reader did not find the first entry"; echo "$out"; exit 1; }
echo "$out" | grep -q "^Computer's move: e2e4" || { echo "the reader did not play the book move"; exit 1; }
printf 'new\nsd 1\nd2d4\nd7d5\nab\nc2c4\nbye\n' | "$reader" > /dev/null || exit 1
grep -q "/0/50,34/" open.dat || { echo "the reader did not add to the book"; cat open.dat; exit 1; }
