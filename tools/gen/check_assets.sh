#!/bin/sh
# Regenerates the show's music and images into a scratch directory and checks
# that they match the committed files byte for byte.
#
#   check_assets.sh [GEN_MUSIC GEN_IMAGES [SOURCE_DIR]]
#
# Without arguments the generators are built first, in $ZEL_GEN_BUILD
# (default SOURCE_DIR/build-assets). Needs `lame` on PATH.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
src=${3:-$(cd "$here/../.." && pwd)}
if [ $# -ge 2 ]; then
    gen_music=$1
    gen_images=$2
else
    build=${ZEL_GEN_BUILD:-$src/build-assets}
    cmake -S "$src" -B "$build" -DZEL_PLAYERS=OFF >/dev/null
    cmake --build "$build" --target gen_music gen_images -j1 >/dev/null
    gen_music=$build/tools/gen/gen_music
    gen_images=$build/tools/gen/gen_images
fi

if ! command -v lame >/dev/null 2>&1; then
    echo "check_assets: lame is not installed" >&2
    exit 1
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/music" "$scratch/images"
"$gen_music" "$scratch/music" >/dev/null
"$gen_images" "$scratch/images"

passed=0
failed=0
compare() {
    if [ ! -f "$2" ]; then
        echo "MISSING  $2"
        failed=$((failed + 1))
    elif cmp -s "$1" "$2"; then
        echo "same     $2"
        passed=$((passed + 1))
    else
        echo "DIFFERS  $2"
        failed=$((failed + 1))
    fi
}

for f in duskwave.mp3 sections.txt; do
    compare "$scratch/music/$f" "$src/data/music/$f"
done
for f in "$scratch"/images/*; do
    compare "$f" "$src/data/vortel/images/$(basename "$f")"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
