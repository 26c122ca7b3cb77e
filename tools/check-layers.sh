#!/usr/bin/env bash
# Checks that the folders of src/ are layers and that includes point down:
# a file includes headers of its own layer or of the layers below it, no two
# modules (a header and its source) include each other, only the platform
# includes SDL, the rules take nothing from the platform but its time
# arithmetic, nor the system's files, streams or signals, and above the rules
# nothing changes the table record but the animations' own fields. Prints each
# breach and exits 1 when there is one.
set -euo pipefail
cd "$(dirname "$0")/../src"
layers=(platform rules input draw screens game)
rank() { local i; for i in "${!layers[@]}"; do [ "${layers[$i]}" = "$1" ] && echo "$i" && return; done; echo 99; }

breaches=0
breach() { echo "$1"; breaches=$((breaches + 1)); }
declare -A uses=()  # module -> " module module ... "

for file in */*.h */*.cpp; do
    own=${file%%/*} module=${file%.*}
    [ "$(rank "$own")" != 99 ] || breach "$file: in no layer"
    while read -r header; do
        [ "${header%.h}" = "$module" ] && continue
        uses[$module]="${uses[$module]:- } ${header%.h} "
        [ "$(rank "${header%%/*}")" -le "$(rank "$own")" ] || breach "$file includes $header, a layer above it"
        [ "$own" != rules ] || [ "${header%%/*}" != platform ] || [ "$header" = platform/ticks.h ] ||
            breach "$file includes $header: the rules take only platform/ticks.h from the platform"
    done < <(sed -n 's/^#include "\([a-z_]*\/[a-z_]*\.h\)".*/\1/p' "$file")
    if [ "$own" != platform ] && grep -q '^#include <SDL' "$file"; then
        breach "$file includes SDL: only the platform may"
    fi
    if [ "$own" = rules ] && grep -qE '^#include <((fcntl|unistd|signal|dirent)\.h|sys/)' "$file"; then
        breach "$file includes a header of files or signals: only the platform may"
    fi
    if [ "$own" = rules ] && grep -qwE 'FILE|fopen|fdopen|freopen|fmemopen|tmpfile|popen' "$file"; then
        breach "$file opens a stdio stream: the rules read and write bytes, the platform files"
    fi
    # The rules own the table record's changes; above them only the animations
    # write their moving cards and the stock's turning picture.
    if [ "$(rank "$own")" -gt "$(rank rules)" ]; then
        while read -r line; do
            breach "$file:$line: the table record changes only through the rules"
        done < <(grep -noE '\btable\.[a-z_0-9]+(\[[^]]*\])? *([-+*/]?=[^=]|\+\+|--)' "$file" |
                 grep -vE ':table\.(moving2?_(active|slot|x|y)|stock_turn_phase)\b' | cut -d: -f1)
    fi
done
for module in "${!uses[@]}"; do
    for other in ${uses[$module]}; do
        if [[ "$module" < "$other" && "${uses[$other]:-}" == *" $module "* ]]; then
            breach "$module and $other include each other"
        fi
    done
done
[ "$breaches" -eq 0 ] && echo "Layers: every include points down." || exit 1
