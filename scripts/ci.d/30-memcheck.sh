#!/usr/bin/env bash
# One whole headless game (two players, six tables, two name entries, the
# file saved after each, then everything freed) under valgrind's memcheck: no invalid access anywhere,
# and no leak whose stack passes through the game's own code. The libraries
# under SDL keep one-time tables and back ends until the process ends; a
# stack without a frame of src/ is theirs alone and is not counted.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
build=build-memcheck
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 -g" -DOG_WERROR=ON -DOG_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_game
report="$build/memcheck.xml" log="$build/memcheck.log"
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    valgrind --xml=yes --xml-file="$report" --leak-check=full --show-leak-kinds=definite,possible \
    "$build/tests/test_game" --gtest_filter='WholeGame.TwoPlayersBothQualifyAndTheFileIsWrittenAfterEach' | tee "$log"
# A renamed test would leave the filter matching nothing, and nothing to find.
grep -q '^\[  PASSED  \] 1 test\.$' "$log" || { echo "memcheck: the whole game did not run and pass"; exit 1; }
/usr/bin/python3 - "$report" "$root/src/" <<'PY'
import sys
import xml.etree.ElementTree as ET
report, ours = sys.argv[1], sys.argv[2]
faults = 0
for error in ET.parse(report).getroot().iter("error"):
    kind = error.findtext("kind")
    frames = [(f.findtext("dir") or "") + "/" + (f.findtext("file") or "") for f in error.iter("frame")]
    if kind.startswith("Leak_") and not any(path.startswith(ours) for path in frames):
        continue
    faults += 1
    what = error.find("xwhat") if error.find("xwhat") is not None else error
    print(kind, (what.findtext("text") or "").strip())
    for f in error.iter("frame"):
        print("   ", f.findtext("fn"), f.findtext("file") or f.findtext("obj"), f.findtext("line") or "")
print("memcheck:", f"{faults} faults in the game's code" if faults else "no faults in the game's code")
sys.exit(1 if faults else 0)
PY
