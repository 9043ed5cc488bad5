# Shared by the project's scripts: install what is missing, then build.
# Sourced, not run.

# A script stopped by `set -e` would otherwise end without a word: name the
# script, the line and the command that failed. Sourcing scripts get it too.
kvp_report_errors() {
    set -E
    trap 'kvp_status=$?; echo "$(basename "$0"): parou na linha $LINENO (saída $kvp_status): $BASH_COMMAND" >&2' ERR
}
kvp_report_errors

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
                    libqt6gui6 fonts-dejavu-core fonts-liberation2 qt6-translations-l10n)
KVP_TEST_PACKAGES=(libgtest-dev googletest)

# Both scripts configure the build folder with the same options, so running
# one after the other rebuilds nothing: kvp_build [TARGET...] (none: all).
# A compiler warning fails the build, on a developer's machine as in CI, so a
# warning is met where it was written. KVP_WARNINGS_AS_ERRORS=OFF lets a
# newer compiler's new warnings through until the code catches up (.ci/run
# never does).
kvp_build() {
    local werror="${KVP_WARNINGS_AS_ERRORS:-ON}"
    cmake -S "$KVP_ROOT" -B "$KVP_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKVP_BUILD_TESTS=ON \
        -DKVP_WARNINGS_AS_ERRORS="$werror" >/dev/null
    local targets=()
    local target
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$KVP_BUILD" -j "$(nproc)" "${targets[@]}"
}

# A throwaway PostgreSQL server on 127.0.0.1, stopped and removed when the
# calling script exits; its URL in KVP_TEST_PG_URL.
kvp_start_pg() {
    PG_BIN="$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)"
    PG_DIR="$(mktemp -d /tmp/kvp-pg.XXXXXX)"
    PG_USER="$(id -un)"
    run_pg() { "$@"; }
    if [ "$(id -u)" -eq 0 ]; then
        # initdb refuses to run as root.
        PG_USER=postgres
        chown postgres "$PG_DIR"
        run_pg() { runuser -u postgres -- "$@"; }
    fi
    port_taken() { (echo > "/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
    PG_PORT=55432

    stop_pg() {
        run_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -m immediate stop >/dev/null 2>&1 || true
        rm -rf "$PG_DIR"
    }
    trap stop_pg EXIT

    run_pg "$PG_BIN/initdb" -D "$PG_DIR/data" -A trust -U "$PG_USER" -E UTF8 --locale=C.UTF-8 >/dev/null
    # Another run on this machine may take the port between the check and the
    # start: try the next free ports before giving up.
    local started=""
    for _ in 1 2 3 4 5 6 7 8; do
        while port_taken "$PG_PORT"; do PG_PORT=$((PG_PORT + 1)); done
        if run_pg "$PG_BIN/pg_ctl" -D "$PG_DIR/data" -l "$PG_DIR/server.log" -w \
            -o "-p $PG_PORT -k $PG_DIR -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null; then
            started=1
            break
        fi
        PG_PORT=$((PG_PORT + 1))
    done
    if [ -z "$started" ]; then
        echo "the throwaway PostgreSQL server did not start; its log:" >&2
        cat "$PG_DIR/server.log" >&2 || true
        exit 1
    fi
    export KVP_TEST_PG_URL="postgresql://$PG_USER@127.0.0.1:$PG_PORT/postgres"
}
