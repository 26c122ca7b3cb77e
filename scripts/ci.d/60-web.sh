#!/usr/bin/env bash
# The browser version, built with Debian's emscripten: its whole download at
# most 400 KB gzipped, and the game played in headless Debian Chromium and
# compared with the desktop's frames (build-test/tests/og_screenshots, which
# scripts/test builds before this runs; built here when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/deps.sh
og_install_missing "${OG_BUILD_PACKAGES[@]}" imagemagick
scripts/web build
if [ ! -x build-test/tests/og_screenshots ]; then
    cmake -S . -B build-test -DOG_WERROR=ON -DCMAKE_CXX_COMPILER=g++ -DOG_LTO=ON >/dev/null
    cmake --build build-test -j "$(nproc)" --target og_screenshots
fi

total=0
for file in index.html page.js olvane-gorvel.js olvane-gorvel.wasm olvane-gorvel.data; do
    size=$(gzip -9 -c "build-web/$file" | wc -c)
    echo "$file: $size bytes gzipped"
    total=$((total + size))
done
echo "the whole download: $total bytes gzipped (at most 400000)"
[ "$total" -le 400000 ]

node tests/web/browser_test.mjs build-web
