#!/usr/bin/env bash
# The share of one processor core that the game takes while nothing happens:
# on the main menu, and on a table nobody touches. The game runs in a real
# window on an Xvfb display of its own, with the classic SDL 1.2 at 1x and no
# sound, from a scratch folder. Usage: bench/cpu-share.sh [BUILD] [SECONDS]
# (default build-test, 10 seconds each).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-build-test}" seconds="${2:-10}"
[[ "$build" = /* ]] || build="$root/$build"
work=$(mktemp -d)
xvfb= game=
cleanup() {
    [ -z "$game" ] || kill "$game" 2>/dev/null || true
    [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
Xvfb -displayfd 3 -screen 0 640x480x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" SDL_AUDIODRIVER=dummy
ln -s "$root/data" "$work/data"
(cd "$work" && exec "$build/olvane-gorvel" >/dev/null 2>&1) &
game=$!
hz=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$game/stat"; }
share() {  # the game's share of a core over the next SECONDS
    local before after
    before=$(cpu_ticks)
    sleep "$seconds"
    after=$(cpu_ticks)
    awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" 'BEGIN { printf "%.1f%%", 100 * t / hz / s }'
}
sleep 3
echo "main menu: $(share) of a core"
window=$(xdotool search --sync --onlyvisible --name '^Olvane Gorvel$' | head -n 1)
for key in space space; do
    xdotool windowfocus --sync "$window" key "$key" 2>/dev/null
    sleep 0.5
done
sleep 6  # the deal and the ready banner
import -window root "${OG_CPU_SHOT:-/dev/null}" 2>/dev/null || true
echo "untouched table: $(share) of a core"
