#!/usr/bin/env bash
# Installs the Debian packages the build, the players and the tests need (idempotent).
# What each group serves is listed in the README ("What the set-up installs").
set -euo pipefail

packages=(
    # compilers and build
    build-essential cmake pkg-config clang-14 libclang-rt-14-dev
    # the drawing layer and the engine
    libcairo2-dev libpango1.0-dev libpng-dev libjpeg62-turbo-dev libpolyclipping-dev
    # the players and the viewer
    libsdl2-dev libsdl2-mixer-dev libx11-dev libimgui-dev
    # zelimport: XML, and SVG's own syntaxes (header-only, over Boost)
    libxml2-dev libsvgpp-dev libboost-dev
    # export: video containers and codecs, animated WebP
    libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
    # fonts: text outlines (Liberation for "Arial", DejaVu) and the X core fonts the
    # message box needs
    fonts-liberation fonts-dejavu-core xfonts-base
    # the rlottie peer of the benchmarks (bench/peer/rlottie_peer)
    librlottie-dev
    # tests
    libgtest-dev lame sox ffmpeg
    xvfb xauth xdotool x11-utils x11-xserver-utils imagemagick
    # the format reference's plots, the editor files' tests and the README's screenshot
    gnuplot-nox vim-nox libxml2-utils libgtksourceview-4-common xterm
    # the import checked against librsvg on real drawings
    librsvg2-bin tango-icon-theme
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
