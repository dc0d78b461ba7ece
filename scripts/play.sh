#!/usr/bin/env bash
# Sets up, builds and plays the start-up show. Pass --window for the resizable player.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/deps.sh"
"$top/scripts/build.sh"
player=ZelPlayer
if [ "${1:-}" = "--window" ]; then
    player=ZelPlayerHwnd
fi
# The players open data/ relative to the working directory.
cd "$top"
exec "$top/build/Platform/$player"
