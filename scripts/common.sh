# Shared by scripts/demo and scripts/test: install what is missing, then build.
# Sourced, not run.

KVP_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
KVP_BUILD="${KVP_BUILD:-$KVP_ROOT/build}"

kvp_install_missing() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -ne 0 ] && sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
    fi
}

KVP_BUILD_PACKAGES=(cmake g++ make ninja-build qt6-base-dev qt6-base-dev-tools libgl-dev libqt6sql6-sqlite libqt6sql6-psql
                    libqt6gui6 fonts-dejavu-core fonts-liberation2)
KVP_TEST_PACKAGES=(libgtest-dev googletest)

# Both scripts configure the build folder with the same options, so running
# one after the other rebuilds nothing: kvp_build [TARGET...] (none: all).
# Under CI (CI=true) a compiler warning fails the build.
kvp_build() {
    local werror=OFF
    [ "${CI:-}" = "true" ] && werror=ON
    cmake -S "$KVP_ROOT" -B "$KVP_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVP_BUILD_TESTS=ON \
        -DKVP_WARNINGS_AS_ERRORS="$werror" >/dev/null
    local targets=()
    local target
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$KVP_BUILD" -j "$(nproc)" "${targets[@]}"
}
