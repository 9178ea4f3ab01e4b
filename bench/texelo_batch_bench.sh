#!/usr/bin/env bash
# Times texelo batch runs without a display, taking turns so that the runs
# compared meet the same machine:
#   1. `texelo level.fit /c` on the batch level (477 banks of one texture from
#      500 Targa files) in the default build and in the build without windows;
#   2. one tiny texture, and `texelo --help`, in both builds: what starting the
#      program costs a small batch run;
#   3. the level in the default build, its banks written beside the textures
#      and into another folder: a run must not pay for its own writes;
#   4. the level in the default build beside a copy whose texture folder holds
#      4,500 more files: every texture is looked up ignoring case, so this is
#      what a folder of 5,000 files costs the run against one of 500.
# Each pair prints the ratio of the medians of its times, and of its processor times.
# Usage: bench/texelo_batch_bench.sh [BUILD_DIR] [HEADLESS_BUILD_DIR] [RUNS]
#   BUILD_DIR           the default build, with benchmarks (default build/release)
#   HEADLESS_BUILD_DIR  a build configured with -DBUILD_GUI=OFF (default build/headless)
#   RUNS                timed runs of each (default 5; ten times as many of the short
#                       runs of 2); the best and the median are shown
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
tiny="$(mktemp -d "${TMPDIR:-/tmp}/texelo_batch_bench-XXXXXX")"
times="$(mktemp -d "${TMPDIR:-/tmp}/texelo_batch_bench-XXXXXX")"
trap 'rm -rf "$work" "$padded" "$tiny" "$times"' EXIT
"$make_level" "$work"
cp -R "$work/." "$padded/"
(cd "$padded/tex" && for ((i = 0; i < 4500; ++i)); do printf -v name 'pad%04d.tga' "$i"; : >"$name"; done)
cp "$work/tex/t000.tga" "$tiny/" # 96 x 88 pixels
printf 'T000\nFIT: TINY\n' >"$tiny/tiny.fit"

# run_once FOLDER ARGS...: milliseconds of one run of ARGS in FOLDER, without a display: the time
# it took and the processor time it used (user and system), which other work on a shared machine
# disturbs less.
run_once() {
    local folder="$1" start end cpu
    shift
    start=$EPOCHREALTIME
    cpu="$(cd "$folder" && unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM && "$@" >/dev/null && times)"
    end=$EPOCHREALTIME
    cpu="${cpu##*$'\n'}" # the second line: the run's, as the subshell's child
    awk -v s="$start" -v e="$end" -v cpu="$cpu" 'BEGIN {
        split(cpu, t, /[ms]+/); printf "%.1f %.1f\n", (e - s) * 1000, (t[1] * 60 + t[2] + t[3] * 60 + t[4]) * 1000 }'
}

# compare NAME_A NAME_B COUNT FOLDER_A ARGS_A... -- FOLDER_B ARGS_B...: runs A and B in
# turns, after one warm-up each, and prints both and the ratios of their medians.
compare() {
    local name_a="$1" name_b="$2" count="$3" i
    shift 3
    local a=() b=()
    while [[ "$1" != -- ]]; do a+=("$1"); shift; done
    shift
    b=("$@")
    run_once "${a[@]}" >/dev/null
    run_once "${b[@]}" >/dev/null
    : >"$times/a"
    : >"$times/b"
    for ((i = 0; i < count; ++i)); do
        run_once "${a[@]}" >>"$times/a"
        run_once "${b[@]}" >>"$times/b"
    done
    printf '%-37s %s\n' "$name_a:" "$(summary "$times/a")"
    printf '%-37s %s\n' "$name_b:" "$(summary "$times/b")"
    echo "median ratio $name_a / $name_b: $(ratio "$times/a" "$times/b" 1) (processor $(ratio "$times/a" "$times/b" 2))"
}

# median FILE COLUMN
median() {
    cut -d' ' -f"$2" "$1" | sort -n | awk '{ t[NR] = $1 } END { print t[int((NR + 1) / 2)] }'
}

# ratio FILE_A FILE_B COLUMN: the median of A over the median of B.
ratio() {
    awk -v a="$(median "$1" "$3")" -v b="$(median "$2" "$3")" 'BEGIN { printf "%.2f\n", (b > 0 ? a / b : 0) }'
}

# summary FILE: the best and median time, and the median processor time.
summary() {
    printf 'best %7.1f ms  median %7.1f ms  processor %7.1f ms' \
        "$(cut -d' ' -f1 "$1" | sort -n | head -n 1)" "$(median "$1" 1)" "$(median "$1" 2)"
}

banks=$(grep -c '^FIT' "$work/level.fit")
echo "batch level: $banks banks, $(du -sb "$work/tex" | cut -f1) bytes of Targa files, $runs runs each"
compare "default build" "build without window" "$runs" \
    "$work" "$default_texelo" level.fit /c -- "$work" "$headless_texelo" level.fit /c
echo
echo "one texture of 96 x 88 pixels, $((runs * 10)) runs each"
compare "default build" "build without window" $((runs * 10)) \
    "$tiny" "$default_texelo" tiny.fit /c -- "$tiny" "$headless_texelo" tiny.fit /c
compare "default build --help" "without window --help" $((runs * 10)) \
    "$tiny" "$default_texelo" --help -- "$tiny" "$headless_texelo" --help
echo
echo "the level's banks beside its textures or in another folder (default build)"
compare "banks beside the textures" "banks in another folder" "$runs" \
    "$work/tex" "$default_texelo" ../beside.fit /c -- "$work/tex" "$default_texelo" ../apart.fit /c
echo
compare "textures in a folder of 5,000 files" "textures in a folder of   500 files" "$runs" \
    "$padded" "$default_texelo" level.fit /c -- "$work" "$default_texelo" level.fit /c
