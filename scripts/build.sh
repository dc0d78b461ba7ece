#!/usr/bin/env bash
# Configures and builds into build/ (or $ZEL_BUILD_DIR) with the given CMake options.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${ZEL_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=${ZEL_BUILD_TYPE:-Release} "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
