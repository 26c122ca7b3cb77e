#!/usr/bin/env bash
# The browser version, built with Debian's emscripten and served by
# tools/serve.py: its files go out gzipped with their types, the whole
# download crosses the wire in at most 400 KB, a busy port is one line and
# status 1, --host 0.0.0.0 names this machine's addresses; then the game is
# played in headless Debian Chromium and compared with the desktop's frames
# (build-test/tests/og_screenshots, which scripts/test builds before this
# runs; built here when missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
. scripts/deps.sh
og_install_missing "${OG_PLAY_PACKAGES[@]}" googletest libgtest-dev imagemagick chromium curl
og_install_npm
scripts/web build
if [ ! -x build-test/tests/og_screenshots ]; then
    cmake -S . -B build-test -DOG_WERROR=ON -DCMAKE_CXX_COMPILER=g++ -DOG_LTO=ON >/dev/null
    cmake --build build-test -j "$(nproc)" --target og_screenshots
fi

scratch=$(mktemp -d) server=
stop_server() { [ -z "$server" ] || { kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; server=; }; }
trap 'stop_server; rm -rf "$scratch"' EXIT
serve() {  # host; starts the server on a free port, sets $server and $port
    /usr/bin/python3 tools/serve.py --host "$1" --port 0 build-web >"$scratch/out" 2>&1 &
    server=$!
    for _ in $(seq 50); do grep -q 'http://' "$scratch/out" && break; sleep 0.1; done
    port=$(grep -o -m1 'http://[^ ]*' "$scratch/out" | sed 's|.*:\([0-9]*\)/$|\1|')
}
fail() { echo "$1"; exit 1; }

serve 127.0.0.1
total=0
while read -r file type encoding; do
    headers=$(curl -sS -D - -o "$scratch/body" -H 'Accept-Encoding: gzip' "http://127.0.0.1:$port/$file" | tr -d '\r')
    served=$(sed -n 's/^content-type: \([^;]*\).*/\1/ip' <<<"$headers")
    [ "$served" = "$type" ] || fail "$file: served as '$served', not $type"
    grep -qix 'cache-control: no-cache' <<<"$headers" || fail "$file: kept by the browser without asking"
    if [ "$encoding" = gzip ]; then
        grep -qix 'content-encoding: gzip' <<<"$headers" || fail "$file: not served gzipped"
        gzip -dc "$scratch/body" | cmp -s - "build-web/$file" || fail "$file: gzipped, but not the file"
    fi
    size=$(stat -c %s "$scratch/body")
    echo "$file: $size bytes on the wire"
    total=$((total + size))
done <<'EOF'
index.html text/html gzip
page.js text/javascript gzip
sw.js text/javascript gzip
manifest.webmanifest application/manifest+json gzip
icons/icon-192.png image/png -
icons/icon-512.png image/png -
icons/icon-maskable-512.png image/png -
olvane-gorvel.js text/javascript gzip
olvane-gorvel.wasm application/wasm gzip
olvane-gorvel.data application/octet-stream gzip
EOF
echo "the whole download: $total bytes on the wire (at most 400000)"
[ "$total" -le 400000 ]

status=$(curl -s -o /dev/null -w '%{http_code}' --path-as-is "http://127.0.0.1:$port/../web/index.html")
[ "$status" = 404 ] || fail "a file outside build-web/ answered $status"
busy=$(/usr/bin/python3 tools/serve.py --port "$port" build-web 2>&1) && fail "a busy port served"
[ "$(wc -l <<<"$busy")" -eq 1 ] && [[ "$busy" == *"Port $port is in use"* ]] || fail "a busy port said: $busy"
stop_server

# Every IPv4 address of this machine's own (hostname -I), and this machine.
serve 0.0.0.0
named=$(grep -o 'http://[0-9.]*' "$scratch/out" | sed 's|http://||' | sort)
expected=$( (echo 127.0.0.1; hostname -I | tr ' ' '\n' | grep -E '^[0-9.]+$') | sort -u)
[ "$named" = "$expected" ] || fail "--host 0.0.0.0 named $(echo $named), not $(echo $expected)"
curl -sSf -o /dev/null "http://127.0.0.1:$port/" || fail "--host 0.0.0.0 does not serve this machine"
stop_server

# The service worker's version is the same for the same files, and changes
# with every file it keeps.
files=$(sed -n "s/^var FILES = \['\.\/', \(.*\)\];/\1/p" build-web/sw.js | tr -d "'," )
same_version() {  # after a change to this file (or none): the same sw.js?
    rm -rf "$scratch/copy" && mkdir "$scratch/copy"
    (cd build-web && cp --parents $files "$scratch/copy/")
    [ -z "${1:-}" ] || echo >>"$scratch/copy/$1"
    cmake -DDIR="$scratch/copy" -DTEMPLATE=web/sw.js -DFILES="${files// /;}" -P cmake/web-sw.cmake
    cmp -s "$scratch/copy/sw.js" build-web/sw.js
}
[ -n "$files" ] && same_version || fail "sw.js is not the same for the same files"
for file in $files; do
    ! same_version "$file" || fail "sw.js stays the same when $file changes"
done

node tests/web/browser_test.mjs build-web
