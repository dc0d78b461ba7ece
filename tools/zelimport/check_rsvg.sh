#!/bin/bash
# Imports every SVG of a folder tree (default: the Tango icon theme's scalable icons), draws
# each document with zelrender at the SVG's size on white and compares it with librsvg's
# rendering on white: mean and largest channel difference (0-255) per file.
#
#   tools/zelimport/check_rsvg.sh BUILD_DIR [SVG_FOLDER [REPORT_FILE]]
#
# Passes when every file imports and loads and at least 95 % are within a mean difference
# of 2; the report lists the others with the warnings their import printed. A missing
# rsvg-convert, ImageMagick or icon folder skips with exit code 77.
set -u

BUILD=$(cd "${1:?usage: check_rsvg.sh BUILD_DIR [SVG_FOLDER [REPORT_FILE]]}" && pwd)
ICONS=${2:-/usr/share/icons/Tango/scalable}
REPORT=${3:-}
IMPORT=$BUILD/tools/zelimport
RENDER=$BUILD/tools/zelrender

for tool in rsvg-convert convert identify; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed (scripts/deps.sh installs librsvg2-bin and imagemagick)"
        exit 77
    fi
done
if [ ! -d "$ICONS" ]; then
    echo "SKIP: $ICONS does not exist (scripts/deps.sh installs tango-icon-theme)"
    exit 77
fi
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# Symbolic links only repeat icons under other names: real files, each once.
find "$ICONS" -type f -name '*.svg' | sort >"$WORK/list"
total=$(wc -l <"$WORK/list")
if [ "$total" -eq 0 ]; then
    echo "SKIP: no SVG files under $ICONS"
    exit 77
fi

failed=0
within=0
: >"$WORK/table"
: >"$WORK/over"
n=0
while read -r svg; do
    n=$((n + 1))
    name=${svg#"$ICONS/"}
    ref=$WORK/ref.png out=$WORK/out.png doc=$WORK/doc.scn
    rm -f "$ref" "$out" "$doc"
    if ! rsvg-convert --background-color white "$svg" -o "$ref" 2>/dev/null; then
        printf '%-60s %s\n' "$name" "librsvg cannot draw it (not counted)" >>"$WORK/table"
        total=$((total - 1))
        continue
    fi
    size=$(identify -format '%wx%h' "$ref")
    if ! "$IMPORT" -o "$doc" "$svg" 2>"$WORK/warnings"; then
        printf '%-60s %s\n' "$name" "IMPORT FAILED: $(tail -n 1 "$WORK/warnings")" >>"$WORK/table"
        failed=$((failed + 1))
        continue
    fi
    if ! "$RENDER" --size "$size" --out "$out" "$doc" 2>"$WORK/render"; then
        printf '%-60s %s\n' "$name" "LOAD FAILED: $(tail -n 1 "$WORK/render")" >>"$WORK/table"
        failed=$((failed + 1))
        continue
    fi
    read -r mean max < <(convert "$out" -alpha off "$ref" -alpha off -compose difference \
        -composite -format '%[fx:mean*255] %[fx:maxima*255]\n' info:)
    kinds=$(sed -n 's/^[^:]*:[0-9]*: warning: //p' "$WORK/warnings" |
        sed -E 's/ on "[^"]*"//; s/"[^"]*"/"…"/g' | sort | uniq -c | sort -rn |
        awk '{c=$1; $1=""; printf "%s%s (%d)", (NR>1?"; ":""), substr($0,2), c}')
    line=$(printf '%-60s mean %6.2f  max %3.0f  %s' "$name" "$mean" "$max" "$size")
    echo "$line" >>"$WORK/table"
    if awk -v m="$mean" 'BEGIN { exit !(m <= 2) }'; then
        within=$((within + 1))
    else
        printf '%s\n    %s\n' "$line" "${kinds:-no warning}" >>"$WORK/over"
    fi
done <"$WORK/list"

{
    echo "== per file: mean and largest channel difference against rsvg-convert, on white"
    cat "$WORK/table"
    echo
    echo "== over a mean difference of 2, with the warnings of their import"
    cat "$WORK/over"
    echo
    share=$(awk -v w="$within" -v t="$total" 'BEGIN { printf "%.1f", t ? 100 * w / t : 0 }')
    echo "$within of $total files within a mean difference of 2 ($share %); $failed failed to import or load"
} >"$WORK/report"
if [ -n "$REPORT" ]; then
    cp "$WORK/report" "$REPORT"
fi
sed -n '/^== over/,$p' "$WORK/report"
if [ "$failed" -ne 0 ]; then
    echo "FAIL: $failed file(s) did not import or load"
    exit 1
fi
if ! awk -v w="$within" -v t="$total" 'BEGIN { exit !(w >= 0.95 * t) }'; then
    echo "FAIL: fewer than 95 % within a mean difference of 2"
    exit 1
fi
echo "PASS"
