#!/bin/bash
# Runs the players under a virtual X display and checks what a user sees: the frame-rate
# title, a drawn window, the ways out (Escape, left click, a quit request) with exit code 0,
# a broken start-up document (exit 1, its error on standard error, the "Error" box) and a
# missing music track (exit 1, nothing said).
#
#   tools/check_players.sh [BUILD_DIR]      (default: build-platform in the repository)
#
# The show runs from the repository when data/vortel/postprocess.scn exists there, else
# from a small document written here. Uses Xvfb, xdotool, xwininfo and ImageMagick.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build-platform}" && pwd)
HWND="$BUILD/Platform/ZelPlayerHwnd"
FULL="$BUILD/Platform/ZelPlayer"
WORK=$(mktemp -d)
. "$ROOT/tools/xvfb_checks.sh"
TITLE_RE='^Ombrelune: Current Frame Rate \(fps\) = ([0-9.e+-]+|inf)$'

# start_player PLAYER DIR: runs it from DIR with dummy audio; standard error to $WORK/stderr.
start_player() {
    (cd "$2" && SDL_AUDIODRIVER=dummy exec "$1" 2>"$WORK/stderr") &
    APP_PID=$!
}

title_ok() { [[ "$(xdotool getwindowname "$1")" =~ $TITLE_RE ]]; }

# window_drawn ID SHOT: the window's area in a screenshot is not black (frames are cleared
# to white before the document draws).
window_drawn() {
    local X Y WIDTH HEIGHT SCREEN WINDOW mean
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root "$2" || return 1
    mean=$(convert "$2" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -colorspace Gray \
        -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m > 0.02) }'
}

window_size_is() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "${WIDTH}x${HEIGHT}" = "$2" ]
}

quiet() { [ ! -s "$WORK/stderr" ]; }

# Why no box appeared, for the failure line: SDL's X11 box needs an X core font.
box_missing_reason() {
    if grep -q 'could not be shown' "$WORK/stderr" 2>/dev/null &&
        ! xlsfonts -fn '-misc-fixed-*' 2>/dev/null | grep -q .; then
        echo ": the box could not be shown because the X core fonts are missing (install xfonts-base)"
    elif grep -q 'could not be shown' "$WORK/stderr" 2>/dev/null; then
        echo ": $(grep -m1 'could not be shown' "$WORK/stderr")"
    fi
}

box_gone() {
    sleep 0.3
    ! xwininfo -root -children 2>/dev/null | grep -q '"Error"'
}


make_show() {
    local dir=$1
    mkdir -p "$dir/data/vortel" "$dir/data/music"
    cat >"$dir/data/vortel/postprocess.scn" <<'EOF'
Scenimator{
noOfGeometries 1
box Rectangle{ x 100 y 100 w $w h 50 hitTest 0 }
noOfBrushes 1
red SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildZels 0
noOfExecutables 1
draw Procedure{ noOfCommands 1 Fill{ box red } }
noOfControllers 1
grow Linear{ target $w begin 0 end 2000 loops 1 beginValue 10 endValue 300 noOfChildren 0 }
noOfAnimations 1
MainAnim Animation{ renderFunction draw controller grow transitionTarget MainAnim }
}
EOF
    cp "$ROOT/data/music/duskwave.mp3" "$dir/data/music/"
}

for tool in Xvfb xdotool xwininfo xrdb xlsfonts import convert; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done
[ -x "$HWND" ] || { echo "no $HWND: build the ZelPlayerHwnd target first" >&2; exit 2; }
[ -f "$ROOT/data/music/duskwave.mp3" ] || { echo "no data/music/duskwave.mp3" >&2; exit 2; }

if [ -f "$ROOT/data/vortel/postprocess.scn" ]; then
    SHOW="$ROOT"
    echo "show: the repository's data/"
else
    SHOW="$WORK/show"
    make_show "$SHOW"
    echo "show: a small stand-in document (the repository has no start-up document yet)"
fi
start_display

# 1. Title, picture, resize, Escape.
start_player "$HWND" "$SHOW"
if W=$(find_window '^Ombrelune: '); then
    sleep 1
    check "window title shows the frame rate" title_ok "$W"
    check "window is drawn" window_drawn "$W" "$WORK/shot.png"
    xdotool windowsize "$W" 640 480
    sleep 1
    check "window resized to 640x480" window_size_is "$W" 640x480
    check "resized window is drawn" window_drawn "$W" "$WORK/shot-640.png"
    check "still running after the resize" kill -0 "$APP_PID"
    xdotool key --window "$W" Escape 2>/dev/null
else
    fail "player window appears"
fi
wait_exit 10
check "Escape ends with exit code 0" [ $? -eq 0 ]
check "nothing on standard error" quiet

# 2. Left click.
start_player "$HWND" "$SHOW"
if W=$(find_window '^Ombrelune: '); then
    sleep 1
    xdotool mousemove --window "$W" 400 300 click 1 2>/dev/null
else
    fail "player window appears (click)"
fi
wait_exit 10
check "left click ends with exit code 0" [ $? -eq 0 ]

# 3. A quit request (what SDL makes of SIGTERM) closes like the window's close button.
start_player "$HWND" "$SHOW"
if find_window '^Ombrelune: ' >/dev/null; then
    sleep 1
    kill -TERM "$APP_PID"
else
    fail "player window appears (quit)"
fi
wait_exit 10
check "quit request ends with exit code 0" [ $? -eq 0 ]

# 4. Broken start-up document: the box "Error" shows, dismissed with Return.
BROKEN="$WORK/broken"
make_show "$BROKEN"
printf 'Scenimator{\nnoOfGeometries 1\nbox Rectangle{ x oops }\n' >"$BROKEN/data/vortel/postprocess.scn"
start_player "$HWND" "$BROKEN"
if BOX=$(find_window '^Error$'); then
    pass "error box appears"
    xdotool key --window "$BOX" Return 2>/dev/null
else
    fail "error box appears$(box_missing_reason)"
fi
wait_exit 10
check "broken document ends with exit code 1" [ $? -eq 1 ]
check "its parse error is on standard error" grep -q '^Parse Error:::' "$WORK/stderr"

# 4b. SIGTERM and SIGINT end the player while the box waits, box and all, with exit code 1.
for sig in TERM INT; do
    start_player "$HWND" "$BROKEN"
    if find_window '^Error$' >/dev/null; then
        kill -"$sig" "$APP_PID"
        wait_exit 3
        check "SIG$sig while the error box is open ends with exit code 1" [ $? -eq 1 ]
        check "SIG$sig takes the error box with it" box_gone
    else
        fail "error box appears (SIG$sig)$(box_missing_reason)"
        wait_exit 3
    fi
done

# 5. Missing music: silent exit code 1 once the document loaded.
NOMUSIC="$WORK/nomusic"
make_show "$NOMUSIC"
rm "$NOMUSIC/data/music/duskwave.mp3"
start_player "$HWND" "$NOMUSIC"
wait_exit 20
check "missing music ends with exit code 1" [ $? -eq 1 ]
check "missing music says nothing" quiet

# 6. The full-screen player covers the display and ends on Escape.
if [ -x "$FULL" ]; then
    start_player "$FULL" "$SHOW"
    if W=$(find_window '^Ombrelune: '); then
        sleep 1
        check "full-screen player covers the display" window_size_is "$W" 1024x768
        check "full-screen player is drawn" window_drawn "$W" "$WORK/shot-full.png"
        xdotool key --window "$W" Escape 2>/dev/null
    else
        fail "full-screen player window appears"
    fi
    wait_exit 10
    check "full-screen player: Escape ends with exit code 0" [ $? -eq 0 ]
fi

# 7. Without a display the players say so and end at once, before any music; a driver that
# shows nothing is still there for whoever asks for it.
(cd "$SHOW" && exec env -u DISPLAY -u WAYLAND_DISPLAY SDL_AUDIODRIVER=disk \
    SDL_DISKAUDIOFILE="$WORK/no-display.raw" "$HWND" 2>"$WORK/stderr") &
APP_PID=$!
wait_exit 2
check "no display ends with exit code 1 within 2 s" [ $? -eq 1 ]
check "no display is said on standard error" grep -q '^no display: ' "$WORK/stderr"
check "no display plays no music" [ ! -e "$WORK/no-display.raw" ]
(cd "$SHOW" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy exec "$HWND" 2>"$WORK/stderr") &
APP_PID=$!
sleep 1.5
check "an offscreen driver asked for by name plays" kill -0 "$APP_PID"
kill "$APP_PID" 2>/dev/null
wait_exit 3

# 8. Start-up documents, child documents and images that are not small regular files end
# the player promptly with exit code 1 and the error text, never a hang.
hostile() {  # NAME EXPECTED_TEXT: the show in $HOSTILE was prepared by the caller
    local started elapsed
    started=$(date +%s%N)
    start_player "$HWND" "$HOSTILE"
    if BOX=$(find_window '^Error$'); then
        elapsed=$((($(date +%s%N) - started) / 1000000))
        check "$1: error box within 2 s (${elapsed} ms)" [ "$elapsed" -le 2000 ]
        xdotool key --window "$BOX" Return 2>/dev/null
    else
        fail "$1: error box appears$(box_missing_reason)"
    fi
    wait_exit 5
    check "$1: exit code 1" [ $? -eq 1 ]
    check "$1: its error on standard error" grep -qF "$2" "$WORK/stderr"
}
new_hostile() {
    HOSTILE="$WORK/hostile-$1"
    make_show "$HOSTILE"
}
START_DOC=data/vortel/postprocess.scn
new_hostile zero && ln -sf /dev/zero "$HOSTILE/$START_DOC"
hostile "start-up document /dev/zero" 'could not open the file "data\vortel\postprocess.scn"'
new_hostile fifo && rm "$HOSTILE/$START_DOC" && mkfifo "$HOSTILE/$START_DOC"
hostile "start-up document a FIFO" 'could not open the file'
new_hostile dir && rm "$HOSTILE/$START_DOC" && mkdir "$HOSTILE/$START_DOC"
hostile "start-up document a directory" 'could not open the file'
new_hostile child
ln -s /dev/zero "$HOSTILE/data/vortel/kid.scn"
sed -i 's/^noOfChildZels 0$/noOfChildZels 1\nkid Scenimator{ data\/vortel\/kid.scn noOfArgs 0 }/' \
    "$HOSTILE/$START_DOC"
hostile "child document /dev/zero" 'could not open the file "data/vortel/kid.scn"'
new_hostile image
mkfifo "$HOSTILE/data/vortel/pipe.png"
sed -i -e 's/^noOfImages 0$/noOfImages 1\npic BitmapFromFile{ data\/vortel\/pipe.png }/' \
    -e 's/noOfCommands 1 Fill{ box red }/noOfCommands 2 Fill{ box red } DrawImage{ source pic destRect Rect{ 0 0 10 10 } opacity 1 srcRect Rect{ 0 0 1 1 } }/' \
    "$HOSTILE/$START_DOC"
hostile "image a FIFO" 'Direct2D returned error: -2147024894'

# 9. The window's size follows the desktop's logical DPI (Xft.dpi), 800x600 at 96.
echo "Xft.dpi: 120" | xrdb -nocpp -merge
start_player "$HWND" "$SHOW"
if W=$(find_window '^Ombrelune: '); then
    sleep 0.5
    check "Xft.dpi 120 gives a 1000x750 window" window_size_is "$W" 1000x750 ||
        xdotool getwindowgeometry "$W"
    xdotool key --window "$W" Escape 2>/dev/null
else
    fail "player window appears (Xft.dpi)"
fi
wait_exit 10
xrdb -nocpp -load /dev/null

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all player checks passed"
