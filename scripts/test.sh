#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: first under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threaded drawing under ThreadSanitizer, then a short
# run of each fuzz target, then the optimised build that the players ship. --quick runs
# only the last.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
if [ "${1:-}" != "--quick" ]; then
    "$top/scripts/sanitize.sh"
    "$top/scripts/tsan.sh"
    "$top/scripts/fuzz.sh" 60
fi
"$top/scripts/build.sh"
cd "$top/build"
ctest --output-on-failure -j "$(nproc)"
