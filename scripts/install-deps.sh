#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian 12 packages that building and running need, as root or
# through sudo; without either it prints the command to run as root.
#   scripts/install-deps.sh               build and run (scripts/run.sh)
#   scripts/install-deps.sh --for-tests   and the test suite (scripts/test.sh)
#   scripts/install-deps.sh --with-tools  and the sanitizers, fuzzers, package checks (.ci/run)
set -euo pipefail

# One package a line, so that additions merge cleanly.
build=(
    cmake
    ninja-build
    g++
    pkg-config
    qt6-base-dev
    qt6-base-dev-tools
    qt6-declarative-dev
    qt6-multimedia-dev
    libgl-dev
    libspeechd-dev
    libmecab-dev
)
run=(
    qt6-qpa-plugins
    qt6-translations-l10n
    qt6-wayland
    libqt6svg6
    libqt6sql6-sqlite
    fonts-ipafont-gothic
    speech-dispatcher
    speech-dispatcher-espeak-ng
    mecab-naist-jdic
)
tests=(
    python3
    xvfb
    xdotool
    xclip
    x11-xkb-utils
    x11-utils
    dbus-x11
    at-spi2-core
    python3-pyatspi
    openbox
    orca
    pulseaudio
    pulseaudio-utils
    git
)
tools=(
    clang
    libclang-rt-14-dev
    desktop-file-utils
    appstream
    imagemagick
    dpkg-dev
    lintian
    binutils
)

packages=("${build[@]}" "${run[@]}")
case "${1:-}" in
    "") ;;
    --for-tests) packages+=("${tests[@]}") ;;
    --with-tools) packages+=("${tests[@]}" "${tools[@]}") ;;
    *) echo "usage: $0 [--for-tests | --with-tools]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
        echo "ほしのたまご: 足りないパッケージがあります。root で次を実行してください:" >&2
        echo "Missing packages; run this as root, then run this script again:" >&2
        echo "    apt-get update && apt-get install -y ${missing[*]}"
        exit 1
    fi
    sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
