#!/usr/bin/env bash
# What the game costs while nothing happens: its main thread's share of one
# processor core and how often it wakes up (voluntary context switches a
# second), and the whole game's share, on the main menu and on a table nobody touches, with each SDL 1.2
# library: the classic one at 1x and the maintained one (sdl12-compat) scaled
# 2x, as scripts/play starts it. The game runs in a real window on an Xvfb
# display of its own, without sound, from a scratch folder.
# Usage: bench/cpu-share.sh [BUILD] [SECONDS]   (default build-test, 10 s each)
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
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -d '[:space:]' <"$work/display")" SDL_AUDIODRIVER=dummy
ln -s "$root/data" "$work/data"
hz=$(getconf CLK_TCK)
compat="/usr/lib/$(gcc -print-multiarch)/sdl12-compat"

# Run time in nanoseconds (schedstat, exact where /proc/PID/stat counts whole
# clock ticks): of the main thread, and of the whole game with SDL's audio
# thread, which with the dummy driver polls its own clock far more often
# than a sound card would make it.
main_ns() { awk '{ print $1 }' "/proc/$game/task/$game/schedstat"; }
all_ns() { cat /proc/"$game"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'; }
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$game/task/$game/status"; }
measure() {  # over the next SECONDS: the main thread's share and wake-ups, the whole game's share
    local m0 a0 w0 m1 a1 w1
    m0=$(main_ns) a0=$(all_ns) w0=$(wakeups)
    sleep "$seconds"
    m1=$(main_ns) a1=$(all_ns) w1=$(wakeups)
    awk -v m=$((m1 - m0)) -v a=$((a1 - a0)) -v w=$((w1 - w0)) -v s="$seconds" \
        'BEGIN { printf "main thread %4.1f%% of a core, %4.0f wake-ups a second; whole game %4.1f%%", m / s / 1e7, w / s, a / s / 1e7 }'
}

echo "CPU: $(awk -F': ' '/^model name/ { print $2; exit }' /proc/cpuinfo), $(nproc) cores"
for library in classic maintained; do
    if [ "$library" = maintained ]; then
        [ -e "$compat/libSDL-1.2.so.0" ] || { echo "maintained: no sdl12-compat, left out"; continue; }
        env=(LD_LIBRARY_PATH="$compat" SDL12COMPAT_WINDOW_SCALING=2 SDL12COMPAT_SCALE_METHOD=nearest)
    else
        env=()
    fi
    (cd "$work" && exec env "${env[@]}" "$build/olvane-gorvel" >/dev/null 2>&1) &
    game=$!
    sleep 3
    echo "$library, main menu:       $(measure)"
    window=$(xdotool search --sync --onlyvisible --name '^Olvane Gorvel$' | head -n 1)
    for key in space space; do
        xdotool windowfocus --sync "$window" key "$key" 2>/dev/null
        sleep 0.5
    done
    sleep 6  # the deal and the ready banner
    import -window root "${OG_CPU_SHOT:-/dev/null}" 2>/dev/null || true
    echo "$library, untouched table: $(measure)"
    kill "$game" 2>/dev/null || true
    wait "$game" 2>/dev/null || true
    game=
done
