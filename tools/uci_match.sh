#!/bin/bash
# Plays a short match inside xboard's own match mode, headless under Xvfb,
# with the first engine speaking UCI through the polyglot adapter (polyglot
# speaks XBoard to xboard and UCI to the engine; its first line to the engine
# is "uci", which switches a program that starts at its console prompt).
# The second engine speaks XBoard directly, or UCI through polyglot too.
# xboard referees the games and saves them as PGN; polyglot logs both sides
# of its conversation with the engine. Installs xboard, polyglot and xvfb
# when they are missing (needs root).
# Usage: tools/uci_match.sh [games] [minutes per game] [UCI engine] [second engine] [xboard|uci]
#   (defaults: 2 games, 1 minute, build/zorvu35 through polyglot against
#   build/zorvu30 in XBoard mode; the time is xboard's -tc, minutes or min:sec
#   per 40 moves, UCI_MATCH_INC adds an increment in seconds). Results go to match/uci/.
set -u
games=${1:-2}
minutes=${2:-1}
engine=${3:-build/zorvu35}
second=${4:-build/zorvu30}
second_proto=${5:-xboard}
increment=${UCI_MATCH_INC:-0}
root=$(cd "$(dirname "$0")/.." && pwd)
case $second_proto in
    xboard | uci) ;;
    *) echo "the second engine's protocol is xboard or uci, not $second_proto"; exit 2 ;;
esac
for e in "$engine" "$second"; do
    [ -x "$e" ] || { echo "no engine at $e (build it first)"; exit 2; }
done
engine=$(cd "$(dirname "$engine")" && pwd)/$(basename "$engine")
second=$(cd "$(dirname "$second")" && pwd)/$(basename "$second")

# /usr/games is where Debian puts xboard and polyglot.
export PATH=$PATH:/usr/games
missing=""
command -v xboard >/dev/null || missing="$missing xboard"
command -v polyglot >/dev/null || missing="$missing polyglot"
command -v xvfb-run >/dev/null || missing="$missing xvfb"
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    # shellcheck disable=SC2086  # one word per package
    apt-get update -qq && apt-get install -y -qq $missing >/dev/null || exit 2
fi

out=$root/match/uci
mkdir -p "$out"
rm -f "$out"/games.pgn "$out"/xboard.debug "$out"/polyglot-*.log
# Each engine plays from its own empty directory: no book takes part.
first_dir=$(mktemp -d) second_dir=$(mktemp -d)
trap 'rm -rf "$first_dir" "$second_dir"' EXIT

# The xboard command line of an engine in UCI mode behind polyglot.
through_polyglot() {   # program, directory, log name
    echo "polyglot -noini -ec \"$1\" -ed \"$2\" -log true -lf \"$out/polyglot-$3.log\""
}
first_cmd=$(through_polyglot "$engine" "$first_dir" first)
second_cmd=$second
[ "$second_proto" = uci ] && second_cmd=$(through_polyglot "$second" "$second_dir" second)

xvfb-run -a xboard \
    -fcp "$first_cmd" -fd "$first_dir" \
    -scp "$second_cmd" -sd "$second_dir" \
    -matchGames "$games" -tc "$minutes" -inc "$increment" \
    -saveGameFile "$out/games.pgn" -debugMode true -nameOfDebugFile "$out/xboard.debug" \
    -popupExitMessage false -autoCallFlag true \
    -saveSettingsOnExit false > "$out/xboard.log" 2>&1
status=$?

echo "xboard exited with status $status; games in $out/games.pgn"
echo "first engine: $engine (UCI through polyglot); second: $second ($second_proto)"
echo "games played: $(grep -c '^\[Result ' "$out/games.pgn" 2>/dev/null)"
echo "players and results:"
grep -E '^\[(White|Black|Result) ' "$out/games.pgn" 2>/dev/null | paste - - - | sort | uniq -c
echo "how the games ended:"
grep -o -E '\{[^}]*\} *(1-0|0-1|1/2-1/2|\*)$' "$out/games.pgn" 2>/dev/null | sort | uniq -c
echo "illegal moves seen by xboard: $(grep -c -i 'illegal move' "$out/xboard.debug" 2>/dev/null)"
echo "other errors in xboard's debug file and polyglot's logs:"
grep -h -i -E 'error|illegal' "$out/xboard.debug" "$out"/polyglot-*.log 2>/dev/null |
    grep -v -E 'Error \(unknown\)|Not yet supported|Engine->Adapter: info' | sed -E 's/^[0-9.]+ //' | sort | uniq -c
echo "commands an XBoard engine answered as unknown (the protocol subset it does not speak):"
sed -n -E 's/.*<[a-z]* *: (Error \(unknown\)|Not yet supported): ([^ ]*).*/\2/p' "$out/xboard.debug" 2>/dev/null | sort | uniq -c
for log in "$out"/polyglot-*.log; do
    [ -f "$log" ] || continue
    echo "lines the engine sent polyglot that are not UCI ($(basename "$log"); text before \"uci\" is expected):"
    sed -n -E 's/^[0-9.]+ Engine->Adapter: //p' "$log" |
        grep -v -E '^$|^EOF$|^(id|option|uciok|readyok|info|bestmove|copyprotection|registration)( |$)' | sort | uniq -c
done
