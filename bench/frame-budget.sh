#!/usr/bin/env bash
# Counts the instructions of one frame of each screen with callgrind, which
# does not depend on the processor, and checks the budget: a full table
# frame costs at most six floors (the background blit and the flip alone).
# Usage: bench/frame-budget.sh [BUILD] (default build-test, with benchmarks).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-test}"
frames=40
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy OG_FRAME_COUNT=$frames \
    valgrind --tool=callgrind --callgrind-out-file="$out/profile" "$build/bench/bench_frame" >/dev/null 2>&1
callgrind_annotate --inclusive=yes --threshold=100 "$out/profile" >"$out/annotated"
per_frame() {  # the function's inclusive count over its frames
    awk -v f="$1() [" -v n="$frames" 'index($0, f) { gsub(",", "", $1); print int($1 / n); exit }' "$out/annotated"
}
table=$(per_frame full_frame) menu=$(per_frame menu_frame) entry=$(per_frame entry_frame) floor=$(per_frame floor_frame)
printf '%-32s %10s\n' "frame" "instructions"
printf '%-32s %10d\n' "full table" "$table" "menu with its score list" "$menu" "name entry" "$entry" "floor" "$floor"
ratio=$(awk -v t="$table" -v f="$floor" 'BEGIN { printf "%.2f", t / f }')
echo "full table / floor = $ratio (budget 6)"
awk -v r="$ratio" 'BEGIN { exit !(r <= 6) }'
