#!/usr/bin/env bash
# Builds the Debian packages libzel0, libzel-dev and zel-tools with CPack into
# BUILD_DIR/packages and lists them.
#
#   scripts/package.sh [BUILD_DIR]      (default: build-package in the repository)
#
# A new BUILD_DIR is configured optimised; an existing one is used as it is configured
# (not a sanitized one: those programs need the sanitizer runtimes). ZEL_JOBS sets the
# build's parallelism (default: every core).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$top/build-package}
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S "$top" -B "$dir" -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
dir=$(cd "$dir" && pwd)
if grep -q '^ZEL_SANITIZE:BOOL=ON' "$dir/CMakeCache.txt"; then
    echo "package.sh: $dir is a sanitized build; package an optimised one" >&2
    exit 2
fi
cmake --build "$dir" -j "${ZEL_JOBS:-$(nproc)}" >/dev/null
rm -rf "$dir/packages"
if ! (cd "$dir" && cpack -G DEB -B "$dir/packages" >"$dir/cpack.log" 2>&1); then
    cat "$dir/cpack.log" >&2
    exit 1
fi
ls "$dir"/packages/*.deb
