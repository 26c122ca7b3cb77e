#!/usr/bin/env bash
# The whole test suite again on the maintained SDL 1.2 (Debian's
# libsdl1.2-compat, put first through the loader's library path), then the
# window tests on a real X server (Xvfb) with each of the two libraries, and
# scripts/play as a player starts it (tests/scripts/play_check.sh).
# OG_COMPAT_BUILD picks the build to test (default: scripts/test's build-test
# when it exists, else build-compat).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/deps.sh
og_install_missing "${OG_PLAY_PACKAGES[@]}" googletest libgtest-dev xvfb xdotool imagemagick

compat="/usr/lib/$(gcc -print-multiarch)/sdl12-compat"
build="${OG_COMPAT_BUILD:-}"
if [ -z "$build" ]; then
    build=build-compat
    [ -f build-test/CMakeCache.txt ] && build=build-test
fi
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DOG_WERROR=ON -DOG_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

# A library path that silently fell back to the classic library would make
# this run a copy of the first one.
resolved=$(LD_LIBRARY_PATH="$compat" ldd "$build/olvane-gorvel" | awk '$1 == "libSDL-1.2.so.0" { print $3 }')
if [ "$(dirname "$resolved")" != "$compat" ]; then
    echo "The maintained SDL 1.2 is not the one loaded (got: ${resolved:-nothing})."
    exit 1
fi
echo "libSDL-1.2.so.0 => $resolved"

export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy
LD_LIBRARY_PATH="$compat" ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The window tests skip without OG_WINDOW_DISPLAY; here they get an Xvfb of
# their own, which names its display once it accepts connections.
xvfb_pid=
stop_xvfb() { [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true; }
trap stop_xvfb EXIT
display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
display=":$(tr -d '[:space:]' <"$display_file")"
rm -f "$display_file"
[ "$display" != ":" ] || { echo "Xvfb did not start."; exit 1; }

echo "--- window tests on $display, classic SDL 1.2"
OG_WINDOW_DISPLAY="$display" "$build/tests/test_window"
echo "--- window tests on $display, maintained SDL 1.2"
OG_WINDOW_DISPLAY="$display" LD_LIBRARY_PATH="$compat" "$build/tests/test_window"

echo "--- scripts/play on displays of several sizes"
stop_xvfb
xvfb_pid=
tests/scripts/play_check.sh
