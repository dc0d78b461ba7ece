#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j "$(nproc)"
