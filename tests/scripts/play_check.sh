#!/usr/bin/env bash
# scripts/play as a player meets it on Xvfb displays of several sizes: the window's scale, the player's choices, no
# display. Run by scripts/ci.d/40-compat.sh.
set -euo pipefail
cd "$(dirname "$0")/../.."

# A player's environment: SDL's drivers are whatever the script picks.
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
export OG_PLAY_BUILD
OG_PLAY_BUILD=$(mktemp -d -t og-play-XXXXXX)
out="$OG_PLAY_BUILD/out" err="$OG_PLAY_BUILD/err"
xvfb_pid= game_pid= failures=0

stop() {
    kill $game_pid $xvfb_pid 2>/dev/null || true
    wait $game_pid $xvfb_pid 2>/dev/null || true
    game_pid= xvfb_pid=
}
trap 'stop; rm -rf "$OG_PLAY_BUILD"' EXIT

start_xvfb() {  # size; sets DISPLAY once the server accepts connections
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp 3>"$OG_PLAY_BUILD/display" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$OG_PLAY_BUILD/display" ] && break; sleep 0.1; done
    export DISPLAY=":$(tr -d '[:space:]' <"$OG_PLAY_BUILD/display")"
    rm -f "$OG_PLAY_BUILD/display"
}

# Starts scripts/play (which becomes the game) on a display of that size; sets $size (empty when no window came).
# A game Xvfb refused now and then is started again.
start_game() {  # display size, then VAR=value...
    for _ in 1 2 3; do
        stop
        start_xvfb "$1"
        env "${@:2}" scripts/play >"$out" 2>"$err" &
        game_pid=$! size=
        for _ in $(seq 60); do
            id=$(xdotool search --onlyvisible --name '^Olvane Gorvel$' 2>/dev/null | head -n 1 || true)
            [ -n "$id" ] && size=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')
            [ -n "$size" ] || ! kill -0 "$game_pid" 2>/dev/null && break
            sleep 0.5
        done
        [ -z "$size" ] && grep -q "Couldn't open X11 display" "$err" || break
    done
}

check() {  # what, got, expected
    [ "$2" = "$3" ] && echo "ok   $1: $2" && return
    echo "FAIL $1: got '$2', expected '$3'" && failures=$((failures + 1))
}

refusal() {  # what, expected line, env arguments...: one line, status 1, no game; the first builds the game
    local said status=0
    said=$(env "${@:3}" scripts/play 2>&1) || status=$?
    check "$1" "$status: $(tail -n 1 <<<"$said")" "1: $2"
}
start_xvfb 640x480
refusal "no display" "No display: set DISPLAY (or run under xvfb-run) to play." -u DISPLAY -u WAYLAND_DISPLAY
refusal "scale 0" "OG_SCALE is a whole number from 1 up, not '0'." OG_SCALE=0
refusal "unknown library" "OG_SDL is compat or classic, not 'sdl3'." OG_SDL=sdl3
refusal "no X server" "Cannot open the display :999: is the X server running, and may this user use it?" DISPLAY=:999
stop

while IFS='|' read -r display environment expected; do
    # shellcheck disable=SC2086
    start_game $display $environment
    stop
    check "display $display ${environment:-(defaults)}" "${size:-none}" "$expected"
done <<'EOF'  # display size | environment | window
1920x1080||1280x960
1366x768||640x480
1280x1024||960x720
1024x1080||960x720
640x480||320x240
1366x768|OG_SCALE=3|960x720
1920x1080|OG_SDL=classic|320x240
1920x1080|OG_SCALE=2 OG_SDL=classic|320x240
EOF

[ "$failures" -eq 0 ] || { echo "$failures scripts/play checks failed"; exit 1; }
echo "scripts/play: all checks passed"
