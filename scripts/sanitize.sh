#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan and runs the
# whole test suite under them; any report fails the run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
ZEL_BUILD_DIR="$top/build-asan" ZEL_BUILD_TYPE=RelWithDebInfo "$top/scripts/build.sh" -DZEL_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS="suppressions=$top/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cd "$top/build-asan"
ctest --output-on-failure -j "$(nproc)"
