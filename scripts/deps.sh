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

OG_BUILD_PACKAGES=(build-essential cmake pkg-config g++ clang
    libsdl1.2-dev libsdl-image1.2-dev libsdl-mixer1.2-dev
    googletest libgtest-dev libbenchmark-dev)
OG_TEST_PACKAGES=(imagemagick valgrind libclang-rt-14-dev python3)
# scripts/play: the maintained SDL 1.2 and xdpyinfo for the display's size.
OG_BUILD_PACKAGES+=(libsdl1.2-compat x11-utils)
# scripts/ci.d/40-compat.sh and 50-armel.sh: window tests under Xvfb, the
# ARM cross toolchain and its emulator.
OG_TEST_PACKAGES+=(xvfb xdotool crossbuild-essential-armel qemu-user)
# scripts/web and scripts/ci.d/60-web.sh: the browser build and its test
# (npm too, where no node came with its own).
OG_WEB_PACKAGES=(emscripten chromium cmake make python3)
