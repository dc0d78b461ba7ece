#!/usr/bin/env bash
# Rebuilds fuzz/corpus/ from the show documents and the hand-written seeds in fuzz/seeds/.
# A seed is the document, then each extra file after a "@@" line; documents name the extra
# files f1, f2, ... in the order they are packed.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
show="$here/../data/vortel"
out="$here/corpus"
rm -rf "$out"
mkdir -p "$out"

# pack OUT FILE... : joins the files with the separator line.
pack() {
    local target="$1"
    shift
    local first=1
    for f in "$@"; do
        [ $first -eq 1 ] || printf '\n@@\n'
        cat "$f"
        first=0
    done >"$target"
}

tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

# The show's files as f1 equalizer, f2 orbiter, f3 star outline, f4 the smallest image
# (standing in for every picture, so the seed stays small).
rewrite() {
    sed -e 's#data\\vortel\\equalizer\.scn#f1#g' \
        -e 's#data\\vortel\\orbiter\.scn#f2#g' \
        -e 's#data\\vortel\\shapes\\star\.geo#f3#g' \
        -e 's#data\\vortel\\images\\[A-Za-z0-9_]*\.\(png\|jpg\)#f4#g' "$1"
}
for doc in postprocess equalizer orbiter; do
    rewrite "$show/$doc.scn" >"$tmp/$doc.scn"
done
pack "$out/show-postprocess" "$tmp/postprocess.scn" "$tmp/equalizer.scn" "$tmp/orbiter.scn" \
    "$show/shapes/star.geo" "$show/images/badge.png"
# The children alone: the orbiter's picture is its f4 as well, so pad f1..f3.
printf 'x' >"$tmp/pad"
pack "$out/show-orbiter" "$tmp/orbiter.scn" "$tmp/pad" "$tmp/pad" "$tmp/pad" \
    "$show/images/badge.png"
pack "$out/show-equalizer" "$tmp/equalizer.scn"

# Hand-written seeds: each .scn with the extra files listed in its .files, if any.
for seed in "$here"/seeds/*.scn; do
    name="$(basename "$seed" .scn)"
    extras=()
    if [ -f "$here/seeds/$name.files" ]; then
        while read -r extra; do
            [ -n "$extra" ] && extras+=("$here/../$extra")
        done <"$here/seeds/$name.files"
    fi
    pack "$out/$name" "$seed" "${extras[@]}"
done

echo "corpus: $(ls "$out" | wc -l) files, $(du -sb "$out" | cut -f1) bytes" >&2
