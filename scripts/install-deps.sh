#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12 (as root or with sudo).
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config python3
    qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-multimedia-dev
    qt6-speech-dev qt6-speech-speechd-plugin qt6-speech-flite-plugin qt6-qpa-plugins qt6-translations-l10n
    libgl-dev fonts-ipafont-gothic
    libspeechd-dev speech-dispatcher speech-dispatcher-espeak-ng libmecab-dev mecab-naist-jdic
    xvfb xdotool xclip x11-xkb-utils x11-utils
    dbus-x11 at-spi2-core python3-pyatspi openbox orca
)
[ "${1:-}" = "--with-tools" ] && packages+=(clang libclang-rt-14-dev desktop-file-utils appstream imagemagick dpkg-dev lintian)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
