#!/usr/bin/env bash
# Times `texelo level.fit /c` without a display on the batch level (477 banks
# of one texture from 500 Targa files), in the default build and in the build
# without windows, taking turns so that both meet the same machine. Then the
# default build runs the level again beside a copy whose texture folder holds
# 4,500 more files: every texture is looked up ignoring case, so this is what
# a folder of 5,000 files costs the run against one of 500.
# Usage: bench/texelo_batch_bench.sh [BUILD_DIR] [HEADLESS_BUILD_DIR] [RUNS]
#   BUILD_DIR           the default build, with benchmarks (default build/release)
#   HEADLESS_BUILD_DIR  a build configured with -DBUILD_GUI=OFF (default build/headless)
#   RUNS                timed runs of each (default 5); the best and the median are shown
set -euo pipefail

build_dir="${1:-build/release}"
headless_dir="${2:-build/headless}"
runs="${3:-5}"
default_texelo="$(realpath "$build_dir/texelo/window/texelo")"
headless_texelo="$(realpath "$headless_dir/texelo/window/texelo")"
make_level="$build_dir/bench/texelo/make_batch_level"
missing=()
for tool in "$default_texelo" "$headless_texelo" "$make_level"; do
    [[ -x "$tool" ]] || missing+=("$tool")
done
if ((${#missing[@]} > 0)); then
    echo "missing ${missing[*]}: build texelo in both builds and make_batch_level first" >&2
    exit 2
fi

work="$(mktemp -d "${TMPDIR:-/tmp}/texelo_batch_bench-XXXXXX")"
padded="$(mktemp -d "${TMPDIR:-/tmp}/texelo_batch_bench-XXXXXX")"
trap 'rm -rf "$work" "$padded"' EXIT
"$make_level" "$work"
cp -R "$work/." "$padded/"
(cd "$padded/tex" && for ((i = 0; i < 4500; ++i)); do printf -v name 'pad%04d.tga' "$i"; : >"$name"; done)

# run_once TEXELO [FOLDER]: milliseconds of one run in FOLDER (the level), without a display.
run_once() {
    local start end
    start=$(date +%s%N)
    (cd "${2:-$work}" && env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" level.fit /c >/dev/null)
    end=$(date +%s%N)
    echo $(((end - start) / 1000000))
}

default_times=()
headless_times=()
run_once "$default_texelo" >/dev/null # warm-up
for ((i = 0; i < runs; ++i)); do
    default_times+=("$(run_once "$default_texelo")")
    headless_times+=("$(run_once "$headless_texelo")")
done
banks=$(find "$work" -maxdepth 1 -name '*.TBK' | wc -l)

# ratio FILE_A FILE_B: the median of A over the median of B.
ratio() {
    paste <(sort -n "$1") <(sort -n "$2") | awk '{ a[NR] = $1; b[NR] = $2 } END {
        m = int((NR + 1) / 2); printf "%.2f\n", a[m] / b[m] }'
}

summary() {
    sort -n | awk '{ t[NR] = $1 } END { printf "best %6d ms   median %6d ms", t[1], t[int((NR + 1) / 2)] }'
}
default_summary="$(printf '%s\n' "${default_times[@]}" | summary)"
headless_summary="$(printf '%s\n' "${headless_times[@]}" | summary)"
echo "batch level: $banks banks, $(du -sb "$work/tex" | cut -f1) bytes of Targa files, $runs runs each"
echo "default build:        $default_summary"
echo "build without window: $headless_summary"
printf '%s\n' "${default_times[@]}" >"$work/d"
printf '%s\n' "${headless_times[@]}" >"$work/h"
echo "median ratio default / without window: $(ratio "$work/d" "$work/h")"

small_times=()
large_times=()
for ((i = 0; i < runs; ++i)); do
    small_times+=("$(run_once "$default_texelo" "$work")")
    large_times+=("$(run_once "$default_texelo" "$padded")")
done
printf '%s\n' "${small_times[@]}" >"$work/s"
printf '%s\n' "${large_times[@]}" >"$work/l"
echo "textures in a folder of   500 files: $(printf '%s\n' "${small_times[@]}" | summary)"
echo "textures in a folder of 5,000 files: $(printf '%s\n' "${large_times[@]}" | summary)"
echo "median ratio 5,000 / 500 files: $(ratio "$work/l" "$work/s")"
