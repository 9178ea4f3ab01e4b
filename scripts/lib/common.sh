# shellcheck shell=bash
# Helpers shared by scripts/demo and scripts/test. Sourced, never run on its own.

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
JOBS="${JOBS:-2}"
RELEASE_DIR="build/release"

log_step() {
    printf '\n==> %s\n' "$*"
}

# configure DIR COMPILER BUILD_TYPE [CMAKE_ARGS...]
# Ninja is chosen only for a fresh folder: CMake refuses to switch the generator of an existing one.
configure() {
    local dir="$1" compiler="$2" build_type="$3"
    shift 3
    local generator=()
    if [[ ! -f "$dir/CMakeCache.txt" ]] && command -v ninja >/dev/null 2>&1; then
        generator=(-G Ninja)
    fi
    cmake -S "$REPO_ROOT" -B "$dir" "${generator[@]}" \
        -DCMAKE_CXX_COMPILER="$(command -v "$compiler")" -DCMAKE_BUILD_TYPE="$build_type" "$@"
}

# build DIR [CMAKE_BUILD_ARGS...]
build() {
    local dir="$1"
    shift
    cmake --build "$dir" -j "$JOBS" "$@"
}

# The demo and the test command share build/release, so they must configure it identically;
# otherwise each run would rebuild everything the other one built.
configure_release() {
    configure "$RELEASE_DIR" g++ Release -DWARNINGS_AS_ERRORS=ON
}
