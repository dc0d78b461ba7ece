#!/bin/bash
# Draws the pictures of the format reference: every example of docs/examples/pictures.txt
# with zelrender, and the value plots of docs/examples/plots.txt with gnuplot from
# zelrender --print-vars. Run it after changing an example; the docs_examples test then
# holds the engine to the new pictures.
# Usage: tools/docs_pictures.sh ZELRENDER   (run from the repository root)
set -euo pipefail
zelrender=${1:?usage: docs_pictures.sh ZELRENDER}
folder=docs/examples
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

while read -r name size times; do
    case $name in '#'* | '') continue ;; esac
    "$zelrender" --size "$size" --at "$times" --out "$work/$name-%d.png" "$folder/$name.scn"
    last=$(($(tr -cd , <<<"$times" | wc -c)))
    # Only the pixels: no time stamps or text chunks that would change the file anew.
    convert "$work/$name-$last.png" -strip -define png:exclude-chunks=date,time \
        "$folder/$name.png"
done <"$folder/pictures.txt"

# TIME NAME VALUE lines to one gnuplot data block per variable.
plot_values() {  # NAME UNTIL
    local name=$1 until=$2 data=$work/$1.vars
    "$zelrender" --size 240x160 --at "$(seq -s, 0 10 "$until")" --print-vars \
        "$folder/$name.scn" >"$data"
    local vars
    vars=$(awk '{print $2}' "$data" | sort -u)
    local plots=() var
    for var in $vars; do
        grep -F " $var " "$data" | awk '{print $1, $3}' >"$work/$name.${var//[\/\$]/_}"
        plots+=("'$work/$name.${var//[\/\$]/_}' with lines lw 2 title '$var'")
    done
    local IFS=,
    gnuplot <<GNUPLOT
set terminal pngcairo size 480,200 font 'DejaVu Sans,9'
set output '$folder/$name-plot.png'
set xlabel 'document time (ms)'
set key outside right
set grid
set xrange [0:$until]
set offsets 0, 0, graph 0.08, graph 0.08
plot ${plots[*]}
GNUPLOT
}

# The hand-over example writes \$red 0.9 while MainAnim plays and 0.1 while Back plays.
plot_timeline() {  # NAME UNTIL
    local name=$1 until=$2 data=$work/$1.vars
    grep -F ' $red ' "$data" | awk '{print $1, ($3 > 0.5 ? 1 : 0)}' >"$work/$name.current"
    grep -F ' $x ' "$data" | awk '{print $1, $3}' >"$work/$name.x"
    gnuplot <<GNUPLOT
set terminal pngcairo size 480,220 font 'DejaVu Sans,9'
set output '$folder/$name-timeline.png'
set multiplot layout 2,1 margins 0.1,0.95,0.15,0.95 spacing 0,0.08
set xrange [0:$until]
set yrange [0:1]
unset ytics
set ylabel 'playing'
set style fill solid 0.6 noborder
set format x ''
plot '$work/$name.current' using 1:(\$2) with boxes lc rgb '#e6550d' title 'MainAnim', \
     '' using 1:(1 - \$2) with boxes lc rgb '#3182bd' title 'Back'
set format x '%g'
set xlabel 'document time (ms)'
set ylabel '\$x'
set autoscale y
set ytics
set grid
plot '$work/$name.x' with lines lw 2 lc rgb 'black' notitle
unset multiplot
GNUPLOT
}

while read -r name until; do
    case $name in '#'* | '') continue ;; esac
    plot_values "$name" "$until"
    if [ "$name" = animation-handover ]; then
        plot_timeline "$name" "$until"
    fi
done <"$folder/plots.txt"
echo "docs_pictures: wrote $(ls $folder/*.png | wc -l) pictures in $folder"
