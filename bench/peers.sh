#!/usr/bin/env bash
# Times every benchmark scene through the engine and hand-written Cairo (both in zelbench),
# Skia (bench/peer/skia.js: the whole frame, and its rasterisation alone) and rlottie
# (bench/peer/rlottie_peer), one scene at a time so that all see the same machine load, and
# prints Markdown tables of medians: moving scenes, then static ones. Fields zelbench adds
# later (a time breakdown such as record_us, cover_us, paint_us, or another raster mode) are
# carried through as columns of their own.
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
lottie_peer=${build#"$root"/}/bench/rlottie_peer
peer=bench/peer
if [[ ! -x $bench ]]; then
    echo "peers.sh: no $bench; build it first (cmake --build $build --target zelbench)" >&2
    exit 2
fi
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "peers.sh: the Skia peer needs node and npm (on Debian: apt-get install nodejs npm)" >&2
    exit 2
fi
if [[ ! -x $lottie_peer ]]; then
    echo "peers.sh: no $lottie_peer, so no rlottie column (apt-get install librlottie-dev," \
         "configure again, cmake --build $build --target rlottie_peer)" >&2
    lottie_peer=
fi
[[ -d $peer/node_modules ]] || (cd "$peer" && npm install --no-audit --no-fund >&2)

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
scenes=$tmp/scenes
lottie=$tmp/lottie
# zelbench writes its documents under TMPDIR; ours stay apart from anyone else's run.
export TMPDIR=$tmp

echo "Skia: @napi-rs/canvas $(cd "$peer" && node -p "require('@napi-rs/canvas/package.json').version"), node $(node --version)"
[[ -z $lottie_peer ]] || echo "rlottie: $(pkg-config --modversion rlottie 2>/dev/null || echo '?')"
echo
echo "    $bench --json $scenes"
[[ -z $lottie_peer ]] || echo "    $bench --lottie $lottie"
echo "    for each scene NAME:"
echo "        $bench --frames $frames --only NAME"
echo "        node $peer/skia.js $scenes/NAME.json $frames"
[[ -z $lottie_peer ]] || echo "        $lottie_peer $lottie/NAME.json $frames"
echo
"$bench" --json "$scenes"
[[ -z $lottie_peer ]] || "$bench" --lottie "$lottie"

rows=$tmp/rows
for json in "$scenes"/*.json; do
    name=$(basename "$json" .json)
    engine=$("$bench" --frames "$frames" --only "$name")
    skia=$(node "$peer/skia.js" "$json" "$frames")
    rlottie=
    [[ -z $lottie_peer ]] || rlottie=$("$lottie_peer" "$lottie/$name.json" "$frames")
    echo "$engine $skia $rlottie" >>"$rows"
done

awk '
function ms(us) { return us == "" ? "n/a" : sprintf("%.3f", us / 1000) }
function ratio(a, b) { return (a == "" || b == "" || b == 0) ? "" : a / b }
function show(r) { return r == "" ? "n/a" : sprintf("%.3g", r) }
BEGIN {
    split("scene engine_us cairo_us skia_us skia_raster_us rlottie_us", fixed)
    for (i in fixed) known[fixed[i]] = 1
    # The per-frame time breakdown comes first among the extra columns when it is there.
    split("record_us cover_us paint_us", breakdown)
    for (i = 1; i <= 3; ++i) { extra[++extras] = breakdown[i]; known[breakdown[i]] = 1 }
}
{
    ++n
    for (i = 1; i <= NF; ++i) {
        eq = index($i, "=")
        if (!eq) continue
        k = substr($i, 1, eq - 1); v = substr($i, eq + 1)
        if (k ~ /_us$/) v += 0  # times compare as numbers
        val[n, k] = v; seen[k] = 1
        if (!(k in known)) { known[k] = 1; extra[++extras] = k }
    }
    name[n] = val[n, "scene"]
}
function header(   i, k) {
    printf "| scene | engine ms | Skia ms | Skia raster ms | rlottie ms | Cairo ms | engine/Skia | engine/Skia raster | engine/rlottie |"
    for (i = 1; i <= extras; ++i) {
        k = extra[i]
        if (!(k in seen)) continue
        printf " %s |", (k ~ /_us$/) ? substr(k, 1, length(k) - 3) " ms" : k
    }
    printf "\n| --- | ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |"
    for (i = 1; i <= extras; ++i) if (extra[i] in seen) printf (extra[i] ~ /_us$/) ? " ---: |" : " --- |"
    printf "\n"
}
function row(r,   i, k, e, slow, cell) {
    e = val[r, "engine_us"]
    slow = moving(r) && val[r, "rlottie_us"] != "" && e + 0 >= val[r, "rlottie_us"] + 0
    cell = show(ratio(e, val[r, "rlottie_us"]))
    if (slow) cell = "**" cell " not faster**"
    printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |", name[r], ms(e), ms(val[r, "skia_us"]),
           ms(val[r, "skia_raster_us"]), ms(val[r, "rlottie_us"]), ms(val[r, "cairo_us"]),
           show(ratio(e, val[r, "skia_us"])), show(ratio(e, val[r, "skia_raster_us"])), cell
    for (i = 1; i <= extras; ++i) {
        k = extra[i]
        if (!(k in seen)) continue
        printf " %s |", (k ~ /_us$/) ? ms(val[r, k]) : ((r, k) in val ? val[r, k] : "")
    }
    printf "\n"
    return slow
}
function moving(r) { return name[r] ~ /_moving$/ }
# Geometric mean over the moving (want = 1) or static (want = 0) scenes of engine / field.
function geomean(field, want,   r, s, c, q) {
    for (r = 1; r <= n; ++r) {
        if (moving(r) != want) continue
        q = ratio(val[r, "engine_us"], val[r, field])
        if (q == "" || q <= 0) continue
        s += log(q); ++c
    }
    return c ? sprintf("%.3g over %d scenes", exp(s / c), c) : "n/a"
}
END {
    for (pass = 1; pass >= 0; --pass) {
        print (pass ? "Moving scenes" : "\nStatic scenes")
        print ""
        header()
        for (r = 1; r <= n; ++r) {
            if (moving(r) != pass) continue
            if (row(r)) slower = slower (slower == "" ? "" : ", ") name[r]
        }
    }
    for (r = 1; r <= n; ++r) {
        if (!moving(r)) continue
        q = ratio(val[r, "engine_us"], val[r, "skia_us"])
        if (q != "" && q > worst) { worst = q; worstName = name[r] }
        q = ratio(val[r, "engine_us"], val[r, "skia_raster_us"])
        if (q != "" && q > worstRaster) { worstRaster = q; worstRasterName = name[r] }
    }
    print ""
    print "geometric mean of engine/Skia: " geomean("skia_us", 1) " moving, " geomean("skia_us", 0) " static"
    print "geometric mean of engine/Skia raster: " geomean("skia_raster_us", 1) " moving, " geomean("skia_raster_us", 0) " static"
    print "geometric mean of engine/rlottie: " geomean("rlottie_us", 1) " moving, " geomean("rlottie_us", 0) " static"
    printf "worst engine/Skia among the moving scenes: %s (%s); against Skia raster: %s (%s)\n",
           show(worst), worstName, show(worstRaster), worstRasterName
    if ("rlottie_us" in seen)
        print "moving scenes where the engine is not faster than rlottie: " (slower == "" ? "none" : slower)
    else
        print "rlottie was not measured"
}' "$rows"
