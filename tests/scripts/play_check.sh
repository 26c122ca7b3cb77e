#!/usr/bin/env bash
# scripts/play as a player meets it, on Xvfb displays of several sizes: the
# window's scale, the player's own choices, no display, no sound device.
# Run by scripts/ci.d/40-compat.sh; builds the game once in a folder of its own.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"

# A player's environment: SDL's drivers are whatever the script picks.
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
export OG_PLAY_BUILD
OG_PLAY_BUILD=$(mktemp -d /tmp/og-play-XXXXXX)
xvfb_pid= game_pid= failures=0
cleanup() {
    [ -z "$game_pid" ] || kill "$game_pid" 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$OG_PLAY_BUILD"
}
trap cleanup EXIT

start_xvfb() {  # size; sets DISPLAY
    local file
    file=$(mktemp)
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -d '[:space:]' <"$file")"
    rm -f "$file"
}

stop() {
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
    game_pid= xvfb_pid=
}

# Starts scripts/play (which becomes the game) on a display of that size with
# the given environment and prints the size of the game's window. Xvfb here
# refuses a connection now and then; a game that could not open the display
# at all is started again.
window_for() {  # display size, then VAR=value...
    local size
    for _ in 1 2 3; do
        size=$(window_once "$@")
        [ "$size" = none ] && grep -q "Couldn't open X11 display" "$OG_PLAY_BUILD/err" || break
    done
    echo "$size"
}

window_once() {
    start_xvfb "$1"
    shift
    env "$@" scripts/play >"$OG_PLAY_BUILD/out" 2>"$OG_PLAY_BUILD/err" &
    game_pid=$!
    local size= id
    for _ in $(seq 60); do
        id=$(xdotool search --onlyvisible --name '^Olvane Gorvel$' 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && size=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')
        [ -n "$size" ] && break
        kill -0 "$game_pid" 2>/dev/null || break
        sleep 0.5
    done
    # The game's own environment: what the script chose for it.
    tr '\0' '\n' 2>/dev/null <"/proc/$game_pid/environ" >"$OG_PLAY_BUILD/environ" || true
    stop
    echo "${size:-none}"
}

check() {  # what, got, expected
    if [ "$2" = "$3" ]; then
        echo "ok   $1: $2"
    else
        echo "FAIL $1: got '$2', expected '$3'"
        failures=$((failures + 1))
    fi
}

# Refusals: one line each, status 1, no game. The first builds the game.
refusal() {  # what, expected line, env arguments...
    local what=$1 line=$2 out status=0
    shift 2
    out=$(env "$@" scripts/play 2>&1) || status=$?
    check "$what" "$status: $(tail -n 1 <<<"$out")" "1: $line"
}
start_xvfb 640x480
refusal "no display" "No display: set DISPLAY (or run under xvfb-run) to play." -u DISPLAY -u WAYLAND_DISPLAY
refusal "scale 0" "OG_SCALE is a whole number from 1 up, not '0'." OG_SCALE=0
refusal "unknown library" "OG_SDL is compat or classic, not 'sdl3'." OG_SDL=sdl3
refusal "no X server" "Cannot open the display :999: is the X server running, and may this user use it?" DISPLAY=:999
stop

# display size | environment | window
while IFS='|' read -r display environment expected; do
    # shellcheck disable=SC2086
    check "display $display ${environment:-(defaults)}" "$(window_for $display $environment)" "$expected"
done <<'EOF'
1920x1080||1280x960
1366x768||640x480
1280x1024||960x720
800x600||640x480
640x480||320x240
1366x768|OG_SCALE=3|960x720
1920x1080|OG_SDL=classic|320x240
1920x1080|OG_SCALE=2 OG_SDL=classic|320x240
EOF

# The line about sound comes exactly when the game gets the dummy driver.
window_for 640x480 >/dev/null
said=$(grep -c "^No sound device could be opened: playing without sound.$" "$OG_PLAY_BUILD/out" || true)
dummy=$(grep -c "^SDL_AUDIODRIVER=dummy$" "$OG_PLAY_BUILD/environ" || true)
check "no sound device said once, dummy audio given" "$said $dummy" "$dummy $dummy"
echo "     (sound device here: $([ "$dummy" = 1 ] && echo none || echo present))"

# A display that goes away ends the game in one line and status 1, on both
# libraries, whether the window is killed or the server.
for library in classic compat; do
    for kill in window server; do
        start_xvfb 640x480
        OG_SDL=$library scripts/play >"$OG_PLAY_BUILD/out" 2>"$OG_PLAY_BUILD/err" &
        game_pid=$!
        id=$(timeout 30 xdotool search --sync --onlyvisible --name '^Olvane Gorvel$' 2>/dev/null | head -n 1 || true)
        sleep 1
        if [ "$kill" = window ]; then xdotool windowkill "$id" 2>/dev/null || true; else kill "$xvfb_pid"; fi
        status=0
        wait "$game_pid" || status=$?
        game_pid=
        check "lost display, $library, $kill killed" "$status: $(tail -n 1 "$OG_PLAY_BUILD/err")" \
            "1: Lost the connection to the display."
        stop
    done
done

[ "$failures" -eq 0 ] || { echo "$failures scripts/play checks failed"; exit 1; }
echo "scripts/play: all checks passed"
