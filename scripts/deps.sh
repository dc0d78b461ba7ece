#!/usr/bin/env bash
# Installs the Debian packages the build, the players and the tests need (idempotent).
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libcairo2-dev libpango1.0-dev libpng-dev libjpeg62-turbo-dev libpolyclipping-dev
    libsdl2-dev libsdl2-mixer-dev
    fonts-liberation fonts-dejavu-core
    libgtest-dev lame sox
    clang-14 libclang-rt-14-dev
    xvfb xauth xdotool imagemagick
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
