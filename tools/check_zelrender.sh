#!/bin/bash
# Command-line manners of zelrender, and hostile files through it: each ends with exit code
# 1 and the engine's text as the last line of standard error, within 2 s and 200 MB.
#
#   tools/check_zelrender.sh [BUILD_DIR [sanitized]]      (default: build in the repository)
#
# A sanitized build is checked for the exit codes and texts only: its own bookkeeping
# costs time and memory.
set -u

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
ZR="$BUILD/tools/zelrender"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
MAX_MS=2000
MAX_MB=200
if [ "${2:-}" = sanitized ]; then
    MAX_MS=20000
    MAX_MB=100000
fi

. "$ROOT/tools/check_lib.sh"

# measure COMMAND...: runs it with standard output and error into $WORK/out and $WORK/err,
# then sets RC, MS (wall time) and MB (peak resident memory).
measure() {
    read -r RC MS MB < <(python3 - "$WORK" "$@" <<'PY'
import resource, subprocess, sys, time
work, cmd = sys.argv[1], sys.argv[2:]
start = time.monotonic()
with open(work + "/out", "wb") as out, open(work + "/err", "wb") as err:
    try:
        rc = subprocess.run(cmd, stdout=out, stderr=err, timeout=20).returncode
    except subprocess.TimeoutExpired:
        rc = 124
ms = int((time.monotonic() - start) * 1000)
print(rc, ms, resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss // 1024)
PY
)
}
failed_promptly() { [ "$RC" -eq 1 ] && [ "$MS" -le "$MAX_MS" ] && [ "$MB" -le "$MAX_MB" ]; }

cat >"$WORK/good.scn" <<'DOC'
Scenimator{
noOfGeometries 1
box Rectangle{ x 10 y 10 w 50 h 50 hitTest 1 }
noOfBrushes 1
red SolidColorBrush{ Color{ 1 0 0 1 } opacity 1 }
noOfImages 0
noOfTransforms 0
noOfChildZels 0
noOfExecutables 1
draw Procedure{ noOfCommands 1 Fill{ box red } }
noOfControllers 0
noOfAnimations 1
MainAnim Animation{ renderFunction draw controller null transitionTarget null }
}
DOC

measure "$ZR" --help
check "--help exits 0" [ "$RC" -eq 0 ]
check "--help prints the usage on standard output" grep -q '^usage: zelrender' "$WORK/out"
check "--help says nothing on standard error" [ ! -s "$WORK/err" ]
measure "$ZR" --version
check "--version prints the version" grep -Eq '^zelrender [0-9]+\.[0-9]+\.[0-9]+$' "$WORK/out"
measure "$ZR" --frobnicate "$WORK/good.scn"
check "an unknown option exits 2" [ "$RC" -eq 2 ]
check "an unknown option names itself and the usage on standard error" \
    grep -q 'unknown option --frobnicate' "$WORK/err"
check "an unknown option prints nothing on standard output" [ ! -s "$WORK/out" ]
measure "$ZR" --hit 20,20 "$WORK/good.scn"
check "a good document renders" [ "$RC" -eq 0 ]
check "and its hit test answers" grep -q '^0 hit 20 20 1$' "$WORK/out"

mkfifo "$WORK/fifo"
mkdir "$WORK/dir"
truncate -s 300M "$WORK/huge.scn"
head -c 60000000 /dev/zero | tr '\0' ' ' >"$WORK/one-line.scn"
printf '\x89PNG\r\n\x1a\n' >"$WORK/huge.png"
truncate -s 300M "$WORK/huge.png"
for target in /dev/zero /dev/urandom "$WORK/fifo" "$WORK/dir" "$WORK/huge.scn" \
    "$WORK/one-line.scn"; do
    name=${target#"$WORK/"}
    measure "$ZR" --at 0 "$target"
    check "document $name: exit code 1 in ${MS} ms, ${MB} MB" \
        failed_promptly
    check "document $name: the engine's text last" bash -c "tail -n 1 '$WORK/err' | grep -q '^Parse Error:::'"
    # The same file as a child document and as a source.
    sed "s|^noOfChildZels 0$|noOfChildZels 1\nkid Scenimator{ $target noOfArgs 0 }|" \
        "$WORK/good.scn" >"$WORK/parent.scn"
    measure "$ZR" --at 0 "$WORK/parent.scn"
    check "child document $name: exit code 1 in ${MS} ms, ${MB} MB" \
        failed_promptly
    sed "s|^box Rectangle.*|box Source{ $target hitTest 0 }|" "$WORK/good.scn" >"$WORK/src.scn"
    measure "$ZR" --at 0 "$WORK/src.scn"
    check "source $name: exit code 1 in ${MS} ms, ${MB} MB" \
        failed_promptly
done
for target in /dev/zero /dev/urandom "$WORK/fifo" "$WORK/dir" "$WORK/huge.png"; do
    name=${target#"$WORK/"}
    sed -e "s|^noOfImages 0$|noOfImages 1\npic BitmapFromFile{ $target }|" \
        -e 's|noOfCommands 1 Fill{ box red }|noOfCommands 1 DrawImage{ source pic destRect Rect{ 0 0 9 9 } opacity 1 srcRect Rect{ 0 0 1 1 } }|' \
        "$WORK/good.scn" >"$WORK/image.scn"
    measure "$ZR" --at 0 "$WORK/image.scn"
    check "image $name: exit code 1 in ${MS} ms, ${MB} MB" \
        failed_promptly
    check "image $name: a drawing error last" bash -c "tail -n 1 '$WORK/err' | grep -q '^Direct2D returned error: '"
done

# Export: the timeline as a video with its music, errors that say why and leave nothing,
# and a stop that leaves a file that plays.
SHOW="$ROOT/data/vortel/postprocess.scn"
MUSIC="$ROOT/data/music/duskwave.mp3"
cd "$ROOT"
measure "$ZR" --quiet --fps 30 --to 2000 --size 160x120 --music "$MUSIC" --video "$WORK/v.mp4" "$SHOW"
check "an MP4 with music is written" [ "$RC" -eq 0 ]
check "it holds 61 frames of H.264 at 30 fps and the music" bash -c "
    ffprobe -v error -show_entries stream=codec_name,nb_frames,r_frame_rate -of csv=p=0 '$WORK/v.mp4' |
        tr '\n' ' ' | grep -q 'h264,30/1,61 mp3,0/0,'"
mkfifo "$WORK/fifo.mp3"
for bad in "--video $WORK/v.avi" "--video /nonexistent/v.mp4" "--music /etc/hostname --video $WORK/m.mp4" \
    "--music $WORK/fifo.mp3 --video $WORK/m.mp4"; do
    # shellcheck disable=SC2086
    measure "$ZR" --quiet --fps 30 --to 500 $bad "$SHOW"
    check "export $bad: exit code 1 and a reason" bash -c "[ $RC -eq 1 ] && [ -s '$WORK/err' ]"
done
check "a failed export leaves no file" [ ! -e "$WORK/m.mp4" ]
"$ZR" --quiet --fps 60 --to 154000 --size 160x120 --video "$WORK/stop.mp4" "$SHOW" 2>"$WORK/err" &
pid=$!
sleep 1.5
kill -INT "$pid"
wait "$pid"
check "Ctrl-C ends an export with exit code 130" [ $? -eq 130 ]
check "and the file it leaves plays" bash -c "
    ffprobe -v error -count_frames -show_entries stream=nb_read_frames -of csv=p=0 '$WORK/stop.mp4' |
        awk '\$1 > 10 { ok = 1 } END { exit !ok }'"
measure "$ZR" --quiet --fps 60 --to 500 --size 160x120 --music "$MUSIC" --video "$WORK/s.gif" "$SHOW"
check "a GIF says the music is left out" grep -q 'no sound; the music is left out' "$WORK/err"

if [ "$FAILURES" -ne 0 ]; then
    echo "$FAILURES check(s) failed"
    exit 1
fi
echo "all zelrender checks passed"
