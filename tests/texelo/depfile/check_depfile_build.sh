#!/usr/bin/env bash
# Builds a texture bank in a small CMake project with the Ninja generator, the
# way a game's build uses texelo --depfile, and checks when Ninja reruns it.
# Usage: check_depfile_build.sh TEXELO MAKE_TEXTURES CMAKE
set -euo pipefail
texelo="$1" make_textures="$2" cmake="$3"

# A missing tool is a broken set-up, never a passing test.
if ! command -v ninja >/dev/null 2>&1; then
    echo "ninja is not installed; scripts/setup-deps installs it" >&2
    exit 1
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/texelo_depfile-XXXXXX")"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/src/tex dir" "$work/build"
"$make_textures" "$work/src/tex dir" a.tga b.tga x1.tga
# Scripts are upper-cased: the folder and the textures are found ignoring
# case, and the dependency file must name them as they are spelt on disk.
cat >"$work/src/level.fit" <<'FIT'
PATH:..\SRC\TEX DIR\
A
B
FILES: X*.TGA
FIT: LEVEL
FIT
cat >"$work/src/CMakeLists.txt" <<CMAKE
cmake_minimum_required(VERSION 3.20)
project(depfile_check NONE)
add_custom_command(OUTPUT LEVEL.TBK
  COMMAND "$texelo" --depfile level.d "\${CMAKE_CURRENT_SOURCE_DIR}/level.fit" /c
  DEPFILE level.d
  WORKING_DIRECTORY "\${CMAKE_CURRENT_BINARY_DIR}"
  VERBATIM)
add_custom_target(bank ALL DEPENDS LEVEL.TBK)
CMAKE
"$cmake" -G Ninja -S "$work/src" -B "$work/build" >/dev/null

failures=0
# expect WHAT rebuilt|unchanged: runs ninja and compares what it did.
expect() {
    local what="$1" wanted="$2" log got
    log="$(ninja -C "$work/build" -d explain 2>&1)"
    got=unchanged
    if grep -q 'Generating LEVEL.TBK' <<<"$log"; then
        got=rebuilt
    fi
    if [[ "$got" == "$wanted" ]]; then
        echo "ok: $what: $got"
    else
        echo "FAILED: $what: the bank was $got, expected $wanted" >&2
        echo "$log" >&2
        failures=$((failures + 1))
    fi
}

expect "first build" rebuilt
if [[ ! -s "$work/build/LEVEL.TBK" ]]; then
    echo "FAILED: texelo wrote no bank" >&2
    exit 1
fi
expect "nothing touched" unchanged
touch "$work/src/tex dir/b.tga"
expect "one texture touched" rebuilt
expect "nothing touched after that" unchanged
cp "$work/src/tex dir/x1.tga" "$work/src/tex dir/X2.tga"
expect "a texture added that FILES matches" rebuilt
expect "nothing touched at the end" unchanged
((failures == 0))
