#!/usr/bin/env bash
# Builds with ThreadSanitizer into build-tsan and runs the suites that draw on the raster
# threads (drawing, text, documents, recorded frames, the C interface); any report fails the
# run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
ZEL_BUILD_DIR="$top/build-tsan" ZEL_BUILD_TYPE=RelWithDebInfo "$top/scripts/build.sh" \
    -DZEL_TSAN=ON -DZEL_PLAYERS=OFF
# Pango starts fontconfig on a thread of its own behind locks ThreadSanitizer cannot see;
# tests/tsan.supp names those, and glib's slice allocator is kept out the same way.
export G_SLICE=always-malloc
export TSAN_OPTIONS="suppressions=$top/tests/tsan.supp:halt_on_error=1:second_deadlock_stack=1"
cd "$top"
for suite in gfx_tests text_tests core_tests raster_tests embed_tests; do
    echo "== $suite under ThreadSanitizer"
    "$top/build-tsan/tests/$suite" --gtest_brief=1
done
