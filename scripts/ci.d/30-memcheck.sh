#!/usr/bin/env bash
# One whole headless game (three tables, a name entry, the file saved, then
# everything freed) under valgrind's memcheck: no invalid access, no leak.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
cd "$root"
build=build-memcheck
cmake -S . -B "$build" -DCMAKE_CXX_COMPILER=g++ -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-O1 -g" -DOG_WERROR=ON -DOG_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_game
# The binary chdirs into a temporary directory of its own; the data link it
# makes points back here.
SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy \
    valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
    --suppressions=tests/valgrind.supp --quiet \
    "$build/tests/test_game" --gtest_filter='WholeGame.OnePlayerTakesTheScoreThreeTimesAndEntersAName'
