#!/bin/sh
# Where an install puts the programs: games/ under /usr and /usr/local,
# bin/ under any other prefix, with xboard's engine-list entries naming the
# program as that layout finds it. Installs from BUILD into a scratch
# folder; the component's own manifest keeps the build's install_manifest.txt
# (what uninstall removes) as a real install left it.
#   tests/install_layout.sh BUILD
set -u
build=${1:?usage: tests/install_layout.sh BUILD}
work=$(mktemp -d)
trap 'rm -rf "$work"; rm -f "$build/install_manifest_Unspecified.txt"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# prefix, folder of the programs, command of zorvu35's engine-list entry
for layout in "/usr games zorvu35" "/usr/local/ games zorvu35" \
        "/opt/zorvu bin /opt/zorvu/bin/zorvu35" "/home/u/.local bin /home/u/.local/bin/zorvu35"; do
    set -- $layout
    root=$work/root
    rm -rf "$root"
    DESTDIR=$root cmake --install "$build" --prefix "$1" --component Unspecified > "$work/log" 2>&1 ||
        { fail "install into $1"; cat "$work/log"; continue; }
    prefix=$root${1%/}
    for program in zorvu35 zorvu30 zorvu zorvu35-perft zorvu30-perft zorvu-perft; do
        [ -x "$prefix/$2/$program" ] || fail "$1: no $2/$program"
    done
    other=bin
    [ "$2" = bin ] && other=games
    [ ! -e "$prefix/$other" ] || fail "$1: programs also in $other/"
    entry=$prefix/share/games/plugins/xboard/zorvu35.eng
    [ "$(sed -n 2p "$entry" 2>/dev/null)" = "$3" ] || fail "$1: zorvu35.eng starts '$(sed -n 2p "$entry" 2>/dev/null)', not '$3'"
    grep -q -x "${1%/}/share/games/plugins/xboard/zorvu.eng" "$build/install_manifest_Unspecified.txt" ||
        fail "$1: the manifest does not list zorvu.eng (uninstall would leave it)"
done
[ $failures -eq 0 ] && echo "install layout: ok"
[ $failures -eq 0 ]
