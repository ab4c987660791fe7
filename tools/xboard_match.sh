#!/bin/bash
# Plays a short match of two engines (or one against itself) inside xboard's
# own match mode, headless under Xvfb, and saves the games as PGN. xboard referees the
# games: it refuses illegal moves and reports protocol errors in its debug
# file. Installs xboard and xvfb when they are missing (needs root).
# Usage: tools/xboard_match.sh [games] [minutes per game] [engine] [second engine]
#   (defaults: 4 games, 1 minute, build/zorvu35 twice; the time is xboard's -tc,
#   minutes or min:sec per 40 moves). Results go to match/.
set -u
games=${1:-4}
minutes=${2:-1}
engine=${3:-build/zorvu35}
second=${4:-$engine}
root=$(cd "$(dirname "$0")/.." && pwd)
for e in "$engine" "$second"; do
    [ -x "$e" ] || { echo "no engine at $e (run make first)"; exit 2; }
done
engine=$(cd "$(dirname "$engine")" && pwd)/$(basename "$engine")
second=$(cd "$(dirname "$second")" && pwd)/$(basename "$second")

# /usr/games is where Debian puts xboard.
export PATH=$PATH:/usr/games
missing=""
command -v xboard >/dev/null || missing="$missing xboard"
command -v xvfb-run >/dev/null || missing="$missing xvfb"
if [ -n "$missing" ]; then
    export DEBIAN_FRONTEND=noninteractive
    # shellcheck disable=SC2086  # one word per package
    apt-get update -qq && apt-get install -y -qq $missing >/dev/null ||
        { echo "could not install$missing (needs root and the package archive)"; exit 2; }
fi

out=$root/match
mkdir -p "$out"
rm -f "$out/games.pgn" "$out/xboard.debug"
# Each engine plays from its own empty directory: no book takes part.
first_dir=$(mktemp -d) second_dir=$(mktemp -d)
trap 'rm -rf "$first_dir" "$second_dir"' EXIT

xvfb-run -a xboard \
    -fcp "$engine" -fd "$first_dir" \
    -scp "$second" -sd "$second_dir" \
    -matchGames "$games" -tc "$minutes" \
    -saveGameFile "$out/games.pgn" -debugMode true -nameOfDebugFile "$out/xboard.debug" \
    -popupExitMessage false -autoCallFlag true \
    -saveSettingsOnExit false > "$out/xboard.log" 2>&1
status=$?

echo "xboard exited with status $status; games in $out/games.pgn"
echo "games played: $(grep -c '^\[Result ' "$out/games.pgn" 2>/dev/null)"
echo "results:"
grep '^\[Result ' "$out/games.pgn" 2>/dev/null | sort | uniq -c
echo "how the games ended:"
grep -o -E '\{[^}]*\} *(1-0|0-1|1/2-1/2|\*)$' "$out/games.pgn" 2>/dev/null | sort | uniq -c
echo "illegal moves seen by xboard: $(grep -c -i 'illegal move' "$out/xboard.debug" 2>/dev/null)"
echo "commands the engine answered as unknown (the protocol subset it does not speak):"
sed -n -E 's/.*<[a-z]* *: (Error \(unknown\)|Not yet supported): ([^ ]*).*/\2/p' "$out/xboard.debug" 2>/dev/null | sort | uniq -c
