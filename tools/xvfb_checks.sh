# Shared by the checks that run programs under a virtual X display; sourced, not run.
# The caller sets WORK (a scratch folder it owns) and keeps the program's PID in APP_PID.
XVFB_PID=""
APP_PID=""
. "$(dirname "${BASH_SOURCE[0]}")/check_lib.sh"

cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

# A display of its own at the first free number; -noreset keeps resources set with xrdb.
start_display() {
    local n
    for n in $(seq 99 140); do
        [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
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

# wait_exit SECONDS: the program's exit code, or 124 after killing it when it hangs.
wait_exit() {
    local rc
    for _ in $(seq 1 $(($1 * 10))); do
        if ! kill -0 "$APP_PID" 2>/dev/null; then
            wait "$APP_PID"
            rc=$?
            APP_PID=""
            return $rc
        fi
        sleep 0.1
    done
    kill "$APP_PID" 2>/dev/null
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
    return 124
}

# find_window NAME_REGEX: id of the first top-level window whose name matches (xwininfo
# also lists a message box, which xdotool's search does not).
find_window() {
    local id
    for _ in $(seq 1 200); do
        id=$(xwininfo -root -children 2>/dev/null |
            awk -v re="$1" 'match($0, /"[^"]*"/) { n = substr($0, RSTART + 1, RLENGTH - 2); if (n ~ re) { print $1; exit } }')
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$APP_PID" 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}
