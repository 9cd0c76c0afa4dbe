#!/bin/sh
# Installs the Debian packages the build, the game, its tests, fuzzers and
# benchmarks need, and only when one of them is missing.
set -eu

PACKAGES="g++ make cmake pkg-config libgtest-dev libbenchmark-dev \
xvfb xauth xdotool x11-xkb-utils x11-xserver-utils openbox wmctrl libxtst-dev libgl-dev libgl1-mesa-dri libx11-dev libglfw3-dev libopenal-dev libstb-dev libvorbis-dev \
clang libclang-rt-14-dev libsdl2-dev valgrind \
desktop-file-utils appstream lintian dpkg-dev devscripts pulseaudio pulseaudio-utils libpulse-dev \
pipewire pipewire-pulse wireplumber dbus"

missing=""
for package in $PACKAGES; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
