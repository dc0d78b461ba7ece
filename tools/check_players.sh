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
XVFB_PID=""
PLAYER_PID=""
FAILURES=0
TITLE_RE='^Ombrelune: Current Frame Rate \(fps\) = ([0-9.e+-]+|inf)$'

cleanup() {
    [ -n "$PLAYER_PID" ] && kill "$PLAYER_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

pass() { echo "ok   $1"; }
fail() {
    echo "FAIL $1"
    FAILURES=$((FAILURES + 1))
}
check() {  # NAME COMMAND...
    local name=$1
    shift
    if "$@"; then pass "$name"; else fail "$name"; fi
}

start_display() {
    local n
    for n in $(seq 99 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 1 50); do
            xwininfo -root >/dev/null 2>&1 && return 0
            sleep 0.1
        done
        kill "$XVFB_PID" 2>/dev/null
        XVFB_PID=""
    done
    echo "no virtual display could be started" >&2
    exit 2
}

# start_player PLAYER DIR: runs it from DIR with dummy audio; standard error to $WORK/stderr.
start_player() {
    (cd "$2" && SDL_AUDIODRIVER=dummy exec "$1" 2>"$WORK/stderr") &
    PLAYER_PID=$!
}

# wait_exit SECONDS: the player's exit code, or 124 after killing it when it hangs.
wait_exit() {
    local rc
    for _ in $(seq 1 $(($1 * 10))); do
        if ! kill -0 "$PLAYER_PID" 2>/dev/null; then
            wait "$PLAYER_PID"
            rc=$?
            PLAYER_PID=""
            return $rc
        fi
        sleep 0.1
    done
    kill "$PLAYER_PID" 2>/dev/null
    wait "$PLAYER_PID" 2>/dev/null
    PLAYER_PID=""
    return 124
}

# find_window NAME_REGEX: id of the first top-level window whose name matches (xwininfo
# also lists the message box, which xdotool's search does not).
find_window() {
    local id
    for _ in $(seq 1 200); do
        id=$(xwininfo -root -children 2>/dev/null |
            awk -v re="$1" 'match($0, /"[^"]*"/) { n = substr($0, RSTART + 1, RLENGTH - 2); if (n ~ re) { print $1; exit } }')
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$PLAYER_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
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

for tool in Xvfb xdotool xwininfo import convert; do
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
    check "still running after the resize" kill -0 "$PLAYER_PID"
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
    kill -TERM "$PLAYER_PID"
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
    fail "error box appears"
fi
wait_exit 10
check "broken document ends with exit code 1" [ $? -eq 1 ]
check "its parse error is on standard error" grep -q '^Parse Error:::' "$WORK/stderr"

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

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all player checks passed"
