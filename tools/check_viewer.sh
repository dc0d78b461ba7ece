#!/bin/bash
# Runs zelview under a virtual X display and checks what a document's author sees: the
# title, a change to the document drawn without a restart, a broken save shown in the error
# bar while the viewer keeps running, the recovery once the file is fixed, a still picture
# while paused, and Escape ending it with exit code 0.
#
#   tools/check_viewer.sh [BUILD_DIR]      (default: build in the repository)
#
# Uses Xvfb, xdotool, xwininfo and ImageMagick; about 15 s.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
VIEW="$BUILD/Viewer/zelview"
WORK=$(mktemp -d)
. "$ROOT/tools/xvfb_checks.sh"
TITLE_RE='^doc\.scn - [0-9]+\.[0-9] s - [0-9]+ fps( - paused)?$'
# The panel's centre and a pixel in the error bar.
PANEL=200,250
BAR=4,4
BLUE="0 0 255"
GREEN="0 255 0"
RED="255 0 0"
WHITE="255 255 255"

title_ok() { [[ "$(xdotool getwindowname "$1")" =~ $TITLE_RE ]]; }
title_has() { [[ "$(xdotool getwindowname "$1")" == *"$2"* ]]; }

# pixel SHOT X,Y: "R G B" of one pixel of a screenshot of the window.
pixel() {
    local x=${2%,*} y=${2#*,}
    convert "$1" -format "%[fx:int(255*p{$x,$y}.r+.5)] %[fx:int(255*p{$x,$y}.g+.5)] %[fx:int(255*p{$x,$y}.b+.5)]\n" info:
}

# shows X,Y "R G B" [SECONDS]: the window shows that colour there within the time (2 s).
SHOT_N=0
shows() {
    local shot
    for _ in $(seq 1 $((${3:-2} * 10))); do
        SHOT_N=$((SHOT_N + 1))
        shot="$WORK/shot$SHOT_N.png"
        import -window "$W" "$shot" 2>/dev/null && [ "$(pixel "$shot" "$1")" = "$2" ] && return 0
        sleep 0.1
    done
    echo "     (at $1: $(pixel "$shot" "$1"), wanted $2)"
    return 1
}

# A bar of red dominance: the error bar's colour, whatever its exact shade.
error_bar_shown() {
    local shot="$WORK/bar.png" r g b
    for _ in $(seq 1 20); do
        import -window "$W" "$shot" 2>/dev/null && read -r r g b < <(pixel "$shot" "$BAR") &&
            [ "$r" -gt 120 ] && [ "$g" -lt 60 ] && [ "$b" -lt 60 ] && return 0
        sleep 0.1
    done
    return 1
}

same_pictures() { [ "$(compare -metric AE "$1" "$2" null: 2>&1)" = "0" ]; }
different_pictures() { ! same_pictures "$1" "$2"; }

# doc COLOUR: a blue (or COLOUR) static panel and a black bar sliding along the bottom.
doc() {
    cat <<EOF
Scenimator{
noOfGeometries 2
panel Rectangle{ x 100 y 150 w 200 h 200 hitTest 1 }
runner Rectangle{ x \$x y 450 w 40 h 40 hitTest 0 }
noOfBrushes 2
paint SolidColorBrush{ Color{ ${1:-0 0 1} 1 } opacity 1 }
ink SolidColorBrush{ Color{ 0 0 0 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildZels 0
noOfExecutables 1
draw Procedure{ noOfCommands 3 CaptureHitTestTransform{ } Fill{ panel paint } Fill{ runner ink } }
noOfControllers 1
slide Linear{ target \$x begin 0 end 3000 loops 1 beginValue 0 endValue 700 noOfChildren 0 }
noOfAnimations 1
MainAnim Animation{ renderFunction draw controller slide transitionTarget MainAnim }
}
EOF
}

for tool in Xvfb xdotool xwininfo import convert compare; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done
[ -x "$VIEW" ] || { echo "no $VIEW: build the zelview target first" >&2; exit 2; }
start_display

DOC="$WORK/doc/doc.scn"
mkdir -p "$WORK/doc"
doc >"$DOC"
(cd "$WORK/doc" && SDL_AUDIODRIVER=dummy exec "$VIEW" --music "$ROOT/data/music/duskwave.mp3" \
    --dpi 96 doc.scn >"$WORK/stdout" 2>"$WORK/stderr") &
APP_PID=$!
STARTED_PID=$APP_PID

if W=$(find_window '^doc\.scn - '); then
    sleep 0.5
    check "title names the file, the document time and the frame rate" title_ok "$W"
    check "the document is drawn" shows "$PANEL" "$BLUE"

    # An editor's save: a new file renamed over the old one.
    sed -i 's/Color{ 0 0 1 1 }/Color{ 0 1 0 1 }/' "$DOC"
    check "a changed colour is drawn without a restart" shows "$PANEL" "$GREEN" 3
    check "still the same process" kill -0 "$STARTED_PID"

    printf 'Scenimator{\nnoOfGeometries 1\npanel Rectangle{ x oops }\n' >"$DOC"
    check "a broken save shows the error bar" error_bar_shown
    check "the last good document keeps being drawn" shows "$PANEL" "$GREEN"
    check "the viewer keeps running" kill -0 "$STARTED_PID"
    check "the engine's error text is on standard error" \
        grep -qF 'Parse Error:::doc.scn : 3 : expecting "y" got "}"' "$WORK/stderr"

    doc "1 0 0" >"$DOC"
    check "the fixed file is drawn" shows "$PANEL" "$RED" 3
    check "the error bar is gone" shows "$BAR" "$WHITE"

    import -window "$W" "$WORK/moving1.png"
    sleep 0.4
    import -window "$W" "$WORK/moving2.png"
    check "the document moves while playing" \
        different_pictures "$WORK/moving1.png" "$WORK/moving2.png"
    xdotool key --window "$W" space
    sleep 0.3
    import -window "$W" "$WORK/paused1.png"
    sleep 0.8
    import -window "$W" "$WORK/paused2.png"
    check "Space pauses: two pictures 0.8 s apart are the same" \
        same_pictures "$WORK/paused1.png" "$WORK/paused2.png"
    check "the title says paused" title_has "$W" "paused"

    xdotool key --window "$W" Escape
else
    fail "viewer window appears"
fi
wait_exit 10
check "Escape ends with exit code 0" [ $? -eq 0 ]

if [ "$FAILURES" -ne 0 ]; then
    echo "--- standard error"
    cat "$WORK/stderr"
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all viewer checks passed"
