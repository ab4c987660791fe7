#!/bin/sh
# What a new user gets, checked end to end.
#   tests/dist_check.sh play      make play with GoogleTest switched off
#                                 builds no test and starts zorvu35, which
#                                 plays a short console game.
#   tests/dist_check.sh deb FILE  the Debian package: its fields and contents;
#                                 unpacked, each program plays a short
#                                 console game, a UCI search and its bench
#                                 (the last line's form), each perft
#                                 tool counts, and no program needs more than
#                                 Debian's baseline x86-64 processor; lintian
#                                 finds no error or warning that the package
#                                 does not override.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect() { # file, text that must be in it, what it shows
    grep -q -F -- "$2" "$1" || { fail "$3 (no \"$2\")"; cat "$1"; }
}
CONSOLE_GAME='sd 2
e2e4
on
bye
'
UCI_SESSION='uci
isready
position startpos moves e2e4
go depth 3
'

case ${1:-} in
play)
    build=$work/build
    printf '%s' "$CONSOLE_GAME" |
        make -s -C "$root" play BUILD="$build" CMAKE_ARGS=-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON \
            > "$work/play.log" 2>&1 || fail "make play exited with status $?"
    expect "$work/play.log" "GoogleTest not found" "configured without GoogleTest"
    expect "$work/play.log" "Computer's move: " "zorvu35 played"
    if ls "$build"/tests/*_unit_tests >/dev/null 2>&1; then fail "make play built unit tests"; fi
    ;;
deb)
    deb=${2:?usage: tests/dist_check.sh deb FILE.deb}
    dpkg-deb -f "$deb" Package Version Maintainer Depends Section > "$work/fields"
    cat "$work/fields"
    expect "$work/fields" "Package: zorvu" "package name"
    expect "$work/fields" "Maintainer: Zorvu project" "maintainer"
    expect "$work/fields" "libstdc++6" "dependencies read from the programs"
    dpkg-deb -c "$deb" | tee "$work/contents"
    for path in games/zorvu35 games/zorvu30 games/zorvu games/zorvu35-perft games/zorvu30-perft \
            games/zorvu-perft share/man/man6/zorvu35.6 share/man/man6/zorvu30.6 share/man/man6/zorvu.6 \
            share/games/plugins/xboard/zorvu35.eng share/games/plugins/xboard/zorvu30.eng \
            share/games/plugins/xboard/zorvu.eng share/doc/zorvu/README.md share/doc/zorvu/copyright \
            share/doc/zorvu/changelog.gz share/lintian/overrides/zorvu; do
        expect "$work/contents" "./usr/$path" "package contents"
    done
    if command -v lintian >/dev/null; then
        lintian --fail-on error,warning "$deb" > "$work/lintian" 2>&1 ||
            fail "lintian reports errors or warnings that are not overridden"
        cat "$work/lintian"
    else
        fail "lintian is not installed (tools/deps.sh deb installs it)"
    fi
    dpkg-deb -x "$deb" "$work/root"
    version=$(dpkg-deb -f "$deb" Version)
    gzip -d -c "$work/root/usr/share/doc/zorvu/changelog.gz" 2>/dev/null | head -n 1 > "$work/changelog"
    expect "$work/changelog" "zorvu ($version) " "the changelog's latest entry is the package's version"
    games=$work/root/usr/games
    # Instructions beyond the baseline: POPCNT, SSE3 to SSE4.2.
    beyond='popcnt|crc32|pshufb|palignr|pabs[bwd]|phadd|phsub|pmaddubsw|pmulhrsw|psign|ptest|pblend|blendv|blendp|insertps|extractps|pextr[bdq]|pinsr[bdq]|pmaxs[bd]|pmaxu[wd]|pmins[bd]|pminu[wd]|pmov[sz]x|pmuldq|pmulld|packusdw|pcmpeqq|pcmpgtq|pcmp[ei]str|round[sp][sd]|lddqu|movddup|movs[hl]dup|hadd|hsub|addsub'
    mkdir "$work/play"
    for program in zorvu35 zorvu30 zorvu; do
        objdump -d --no-show-raw-insn "$games/$program" | grep -w -q -E "$beyond" &&
            fail "$program uses instructions beyond x86-64"
        (cd "$work/play" && printf '%s' "$CONSOLE_GAME" | "$games/$program") > "$work/console" 2>&1 ||
            fail "$program console exited with status $?"
        expect "$work/console" "Computer's move: " "$program at the console"
        (cd "$work/play" && printf '%s' "$UCI_SESSION" | "$games/$program") > "$work/uci" 2>&1 ||
            fail "$program UCI exited with status $?"
        for line in uciok readyok "bestmove "; do expect "$work/uci" "$line" "$program in UCI mode"; done
        "$games/$program" bench 1 > "$work/bench" 2>&1 || fail "$program bench exited with status $?"
        tail -n 1 "$work/bench" | grep -q -x -E '[0-9]+ nodes [0-9]+ nps' || fail "$program bench: $(tail -n 1 "$work/bench")"
        "$games/$program-perft" "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 3 > "$work/perft" 2>&1
        expect "$work/perft" "Nodes searched: 8902" "$program-perft"
    done
    [ -z "$(ls -A "$work/play")" ] || fail "a session without book moves left files: $(ls -A "$work/play")"
    ;;
*)
    echo "usage: tests/dist_check.sh play | deb FILE.deb"
    exit 2
    ;;
esac
[ $failures -eq 0 ] && echo "dist check ($1): ok"
[ $failures -eq 0 ]
