#!/usr/bin/env bash
# Times every benchmark scene through the engine, hand-written Cairo (both in zelbench) and
# Skia (bench/peer/skia.js), one scene at a time so that all three see the same machine load,
# and prints a Markdown table of medians.
#
#   bench/peers.sh [BUILD_DIR] [FRAMES]      defaults: build 200
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
frames=${2:-200}
# A relative build directory is taken from here when it exists, else from the repository;
# everything then runs from the repository so that the commands shown can be quoted as they are.
[[ $build = /* || -d $build ]] || build=$root/$build
build=$(cd "$build" 2>/dev/null && pwd) || build=${1:-build}
cd "$root"
bench=${build#"$root"/}/bench/zelbench
peer=bench/peer
if [[ ! -x $bench ]]; then
    echo "peers.sh: no $bench; build it first (cmake --build $build --target zelbench)" >&2
    exit 2
fi
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "peers.sh: the Skia peer needs node and npm (on Debian: apt-get install nodejs npm)" >&2
    exit 2
fi
[[ -d $peer/node_modules ]] || (cd "$peer" && npm install --no-audit --no-fund >&2)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
scenes=$tmp/scenes
# zelbench writes its documents under TMPDIR; ours stay apart from anyone else's run.
export TMPDIR=$tmp

echo "Skia: @napi-rs/canvas $(cd "$peer" && node -p "require('@napi-rs/canvas/package.json').version"), node $(node --version)"
echo
echo "    $bench --json $scenes"
echo "    for each scene NAME:"
echo "        $bench --frames $frames --only NAME"
echo "        node $peer/skia.js $scenes/NAME.json $frames"
echo
"$bench" --json "$scenes"

rows=$tmp/rows
for json in "$scenes"/*.json; do
    name=$(basename "$json" .json)
    engine=$("$bench" --frames "$frames" --only "$name")
    skia=$(node "$peer/skia.js" "$json" "$frames")
    echo "$engine $skia" >>"$rows"
done

awk '
function ms(us) { return sprintf("%.3f", us / 1000) }
BEGIN {
    print "| scene | engine ms | Cairo ms | Skia ms | engine/Skia | Cairo/Skia | direct ms | bands ms | bands+gradient spans ms |"
    print "| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
}
{
    for (i = 1; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
    r = v["engine_us"] / v["skia_us"]
    printf "| %s | %s | %s | %s | %.3g | %.3g | %s | %s | %s |\n", v["scene"], ms(v["engine_us"]),
           ms(v["cairo_us"]), ms(v["skia_us"]), r, v["cairo_us"] / v["skia_us"], ms(v["direct_us"]),
           ms(v["bands_us"]), ms(v["gradients_us"])
    if (v["scene"] ~ /_moving$/) {
        movingLog += log(r); ++moving
        if (r > worst) { worst = r; worstName = v["scene"] }
    } else {
        staticLog += log(r); ++still
    }
}
END {
    printf "\ngeometric mean of engine/Skia: %.3g over %d static scenes, %.3g over %d moving scenes\n",
           exp(staticLog / still), still, exp(movingLog / moving), moving
    printf "worst engine/Skia among the moving scenes: %.3g (%s)\n", worst, worstName
}' "$rows"
