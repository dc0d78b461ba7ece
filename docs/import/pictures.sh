#!/bin/bash
# Remakes the README's pictures of the zelimport example: librsvg's drawing of the SVG,
# the engine's drawing of its import, and zelview showing the animated document under a
# virtual display.
#
#   docs/import/pictures.sh BUILD_DIR
set -eu
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
BUILD=$(cd "${1:?usage: pictures.sh BUILD_DIR}" && pwd)
HERE=$ROOT/docs/import
WORK=$(mktemp -d)
. "$ROOT/tools/xvfb_checks.sh"

cd "$ROOT"
rsvg-convert --background-color white docs/import/windmill.svg -o "$HERE/windmill-rsvg.png"
"$BUILD/tools/zelrender" --size 480x320 --out "$HERE/windmill-zelrender.png" \
    docs/import/windmill.scn
start_display
SDL_AUDIODRIVER=dummy "$BUILD/Viewer/zelview" --size 480x320 --dpi 96 \
    docs/import/windmill-animated.scn >/dev/null 2>&1 &
APP_PID=$!
W=$(find_window '^windmill-animated\.scn - ')
# Three and a half seconds in: the sails a quarter turn on, the cloud drifting.
sleep 3.5
import -window "$W" "$HERE/windmill-zelview.png"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=""
echo "wrote $HERE/windmill-rsvg.png, windmill-zelrender.png and windmill-zelview.png"
