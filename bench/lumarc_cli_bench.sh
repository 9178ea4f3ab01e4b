#!/usr/bin/env bash
# Times the lumarc executable converting the large benchmark layout.
# Usage: bench/lumarc_cli_bench.sh [BUILD_DIR] [RUNS]
#   BUILD_DIR  a build with benchmarks (default build/release); needs
#              lumarc/dialog/lumarc and bench/make_large_mdf in it
#   RUNS       timed conversions (default 5); the best and the mean are shown
set -euo pipefail

build_dir="${1:-build/release}"
runs="${2:-5}"
lumarc="$build_dir/lumarc/dialog/lumarc"
make_large_mdf="$build_dir/bench/make_large_mdf"
for tool in "$lumarc" "$make_large_mdf"; do
    if [[ ! -x "$tool" ]]; then
        echo "missing $tool: build it first (cmake --build $build_dir --target lumarc make_large_mdf)" >&2
        exit 2
    fi
done

work="$(mktemp -d "${TMPDIR:-/tmp}/lumarc_cli_bench-XXXXXX")"
trap 'rm -rf "$work"' EXIT

"$make_large_mdf" "$work/large.mdf" >/dev/null
mdf_bytes="$(stat -c %s "$work/large.mdf")"

best_ns=0
total_ns=0
for ((i = 1; i <= runs; ++i)); do
    start=$(date +%s%N)
    "$lumarc" "$work/large.mdf" "$work/large.rlf" >/dev/null
    end=$(date +%s%N)
    elapsed=$((end - start))
    total_ns=$((total_ns + elapsed))
    if ((best_ns == 0 || elapsed < best_ns)); then
        best_ns=$elapsed
    fi
done
rlf_bytes="$(stat -c %s "$work/large.rlf")"

awk -v mdf="$mdf_bytes" -v rlf="$rlf_bytes" -v best="$best_ns" -v total="$total_ns" -v runs="$runs" 'BEGIN {
    mean = total / runs
    printf "MDF %d bytes -> RLF %d bytes, %d runs\n", mdf, rlf, runs
    printf "best %.1f ms (%.1f MB/s), mean %.1f ms (%.1f MB/s)\n",
        best / 1e6, mdf / (best / 1e9) / 1e6, mean / 1e6, mdf / (mean / 1e9) / 1e6
}'
