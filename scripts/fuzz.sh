#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) from the
# committed seeds. Exits non-zero when a target finds a crash, leak, timeout or OOM; the
# input that caused it is kept under build-fuzz/fuzz/artifacts/ and named in the output.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZEL_FUZZ_BUILD_DIR:-$root/build-fuzz}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
    -DZEL_PLAYERS=OFF -DZEL_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_load fuzz_render fuzz_raster -j "$(nproc)"

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
export LSAN_OPTIONS="suppressions=$root/fuzz/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

status=0
for target in fuzz_load fuzz_render fuzz_raster; do
    # The run adds to its corpus; the committed seeds stay as they are. Documents for the
    # loaders, paths as bytes for the raster core.
    corpus="$scratch/$target"
    artifacts="$build/fuzz/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    seeds="$root/fuzz/corpus" dict=(-dict="$root/fuzz/scn.dict")
    if [ "$target" = fuzz_raster ]; then
        seeds="$root/fuzz/raster-seeds" dict=()
    fi
    cp "$seeds"/* "$corpus"/
    echo "== $target for ${seconds} s"
    if ! "$build/fuzz/$target" "${dict[@]}" -max_len=65536 -timeout=10 \
        -rss_limit_mb=2048 -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus"; then
        echo "$target FAILED; inputs kept:" "$artifacts"/* >&2
        status=1
    fi
done
exit "$status"
