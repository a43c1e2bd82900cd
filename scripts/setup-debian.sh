#!/usr/bin/env bash
# Installs every Debian 12 package that building, running and testing Terrix needs.
# Idempotent: when everything is present it only asks dpkg and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    libcli11-dev nlohmann-json3-dev
    qt6-base-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools qt6-serialport-dev libgl-dev
    qt6-translations-l10n # Qt's own German texts; the tests of the German buttons skip without it
    xvfb xauth fonts-dejavu-core # xvfb: run-gui.sh on a machine without a display
    clang libclang-rt-14-dev
    # packages and their checks (scripts/package-deb.sh, scripts/test-packages.sh), manual pages, pictures
    dpkg-dev file lintian desktop-file-utils appstream man-db pngquant librsvg2-bin
    libmosquitto-dev mosquitto mosquitto-clients openssl # fleet logging; the tests run their own broker
    g++-mingw-w64-x86-64-posix googletest wine wine64 zip # the Windows build and its tests under Wine
    nsis # the Windows installer of the desktop program (scripts/package-windows.sh, when its Qt is built)
    xdotool # the Windows desktop stage finds the program's main window (scripts/test-windows-desktop.sh)
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
    sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
