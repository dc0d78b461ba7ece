#!/bin/bash
# Plays the start-up show offscreen at 60 frames a second from load to the end of the
# music, then checks that its documents use every block and command of the format.
# Usage: tools/check_show.sh ZELRENDER   (run from the repository root)
set -u
zelrender=${1:?usage: check_show.sh ZELRENDER}
show=data/vortel/postprocess.scn
end_ms=154000
chunks=4

# Frame times 0, 17, 33, ... as a 60 Hz clock gives them, in a few calls to keep the
# argument lists short. Each call loads the show afresh, so it first visits the scene
# changes before its chunk: hand-overs then fall exactly where they do in one long run.
frames=$(( end_ms * 60 / 1000 ))
per_chunk=$(( (frames + chunks) / chunks ))
sections="19200 57600 67200 105600 124800 144000"
for ((c = 0; c < chunks; c++)); do
    first=$(( c * per_chunk ))
    last=$(( (c + 1) * per_chunk - 1 ))
    (( last > frames )) && last=$frames
    list=""
    first_ms=$(( first * 1000 / 60 ))
    for s in $sections; do
        (( s < first_ms )) && list+="$s,"
    done
    for ((i = first; i <= last; i++)); do
        list+="$(( i * 1000 / 60 )),"
    done
    if ! "$zelrender" --at "${list%,}" "$show" >/dev/null; then
        echo "check_show: the show failed between frame $first and frame $last" >&2
        exit 1
    fi
done
echo "check_show: played frames 0 to $frames"

keywords=(Scenimator{ Rectangle{ Ellipse{ Path{ Figure{ Line{ Bezier{ Combined{
    Union Intersect Xor Exclude Source{ Text{ SolidColorBrush{ LinearGradientBrush{
    RadialGradientBrush{ GradientStopCollection{ GradientStop{ BitmapFromFile{
    Translation{ PolarTranslation{ Rotation{ Scale{ Procedure{ Fill{ Stroke{ DrawImage{
    PushTransform{ PopTransform{ Call{ CaptureHitTestTransform{ RenderZel{ SetZelVar{
    Const{ Linear{ Linear2d{ Sinusoidal{ Addition{ Trigger{ Animation{)
mapfile -t files < <(find data/vortel -name '*.scn' -o -name '*.geo')
if (( ${#files[@]} == 0 )); then
    echo "check_show: no documents under data/vortel" >&2
    exit 1
fi
missing=()
for k in "${keywords[@]}"; do
    # -w keeps Translation{ from being found inside PolarTranslation{.
    grep -qFw -- "$k" "${files[@]}" || missing+=("$k")
done
for mode in 0 1 2; do
    grep -qE "extendMode $mode\b" "${files[@]}" || missing+=("extendMode $mode")
done
if (( ${#missing[@]} > 0 )); then
    echo "check_show: the show's documents never use: ${missing[*]}" >&2
    exit 1
fi
echo "check_show: all ${#keywords[@]} keywords and extend modes 0 1 2 are used"
