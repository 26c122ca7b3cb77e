#!/usr/bin/env bash
# The ARMv5TE soft-float build and its tests under qemu's ARM926EJ-S
# (scripts/cross-armel). It needs about two and a half minutes on two idle
# cores, packages included, and five when they are busy; it is left out,
# saying so, when the run that started it has already used more than
# OG_ARMEL_START_BY seconds (default 3600) of CI's 90 minutes.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"

start_by="${OG_ARMEL_START_BY:-3600}"
elapsed=$(ps -o etimes= -p "$PPID" 2>/dev/null | tr -d ' ' || true)
if [ -n "$elapsed" ] && [ "$elapsed" -gt "$start_by" ]; then
    echo "ARM build left out: ${elapsed}s used already; run scripts/cross-armel by hand."
    exit 0
fi
started=$(date +%s)
scripts/cross-armel
echo "ARM build and tests: $(($(date +%s) - started))s"
