#!/bin/bash
# Renders the start-up show at every tenth second and assembles docs/contact-sheet.png:
# 4 columns of 200x150 tiles, each labelled with its second.
# Usage: tools/contact_sheet.sh ZELRENDER   (run from the repository root)
set -eu
zelrender=${1:?usage: contact_sheet.sh ZELRENDER}
show=data/vortel/postprocess.scn
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The show is stepped every 100 ms, not only at the tiles: a controller whose window no
# update falls into never writes, and the shortest window in the show is 400 ms. Every
# scene change lies on a multiple of 100 ms, so the hand-overs are the player's own.
step=100
last=150000
times=$(seq -s, 0 "$step" "$last")
"$zelrender" --at "$times" --out "$work/f%d.png" "$show" >/dev/null

tiles=()
for ((s = 0; s <= last / 1000; s += 10)); do
    tiles+=(-label "${s} s" "$work/f$(( s * 1000 / step )).png")
done
mkdir -p docs
montage "${tiles[@]}" -tile 4x -geometry 200x150+4+4 -background '#120822' -fill '#f0d8ff' \
    -pointsize 12 -depth 8 -strip docs/contact-sheet.png
echo "contact_sheet: wrote docs/contact-sheet.png ($(du -k docs/contact-sheet.png | cut -f1) KB)"
