# Sourced by the scripts: installs the Debian packages that are missing.
# Usage: og_install_missing PACKAGE...
og_install_missing() {
    local missing=()
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Each command installs what it uses, no more.
# scripts/play: building the game without its tests, the maintained SDL 1.2
# to run it on, and xdpyinfo for the display's size.
OG_PLAY_PACKAGES=(build-essential cmake pkg-config g++
    libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev libsdl1.2-compat x11-utils)
# scripts/web: the browser build (emscripten brings its node) and the server,
# both run on Debian's python3.
OG_WEB_PACKAGES=(emscripten cmake make python3)
# scripts/test, on top of both: GoogleTest, Google Benchmark, clang with its
# sanitizer runtimes, valgrind, ImageMagick for the screenshots; for
# scripts/ci.d, Xvfb windows, the ARM cross toolchain and its emulator, and
# the browser test's Chromium and curl (its npm packages: og_install_npm).
OG_TEST_PACKAGES=(googletest libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
    valgrind imagemagick python3 xvfb xdotool crossbuild-essential-armel qemu-user
    chromium curl)

# The browser test's npm packages (puppeteer-core, which drives Debian's
# chromium and never downloads one), with npm itself where no node brought it.
# npm's cache lives only as long as the install, not in the home folder.
og_install_npm() {
    command -v npm >/dev/null || og_install_missing npm
    [ tests/web/node_modules/.package-lock.json -nt tests/web/package-lock.json ] && return 0
    local cache
    cache=$(mktemp -d)
    (cd tests/web && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --cache "$cache" --no-audit --no-fund --loglevel=error) ||
        { rm -rf "$cache"; return 1; }
    rm -rf "$cache"
}
