#!/bin/sh
# Cross-builds the part of Qt 6.4.2 that the desktop program uses (Core, Gui, Widgets, Network, the "windows"
# platform plug-in and the "windowsvista" style) for 64-bit Windows with MinGW-w64, from Debian's
# own source packages, using Debian's host Qt 6.4.2 for moc, rcc and uic (QT_HOST_PATH).
#
# Usage: scripts/build-qt-windows.sh [--print-prefix]
#   --print-prefix  only print where the build is (or would be) cached, and exit.
#
# The result is cached outside the source tree in ~/.cache/terrix/qt-6.4.2-mingw-<hash>, where <hash> is taken
# from this script's own text: any change to the options below makes a new build, an unchanged script reuses
# the old one. TERRIX_CACHE_DIR moves the cache; TERRIX_JOBS sets the parallel jobs (default 2).
#
# Qt Serial Port is not built: the desktop program uses it only to list ports, and on Windows the platform layer
# lists them itself (with their friendly names), while the archive here serves no qt6-serialport source tarball.
#
# The sources come from the same Debian archive that apt already uses, through a deb-src entry that this script
# adds when none is configured (it says so). qt6-base's "+dfsg" source lacks src/3rdparty/iaccessible2, wintab
# and sqlite: Windows accessibility goes through UI Automation and needs none of them, but tablet input (wintab)
# and SQL are off; so are OpenGL, D-Bus, printing, SSL and the
# modules nothing here links. The runtime (libstdc++, libgcc, winpthread) is linked statically into every DLL,
# as it is into the programs, so the installer ships Qt's DLLs and nothing else.
set -eu

qt_version=6.4.2
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
script_hash=$(sha256sum "$here/build-qt-windows.sh" | cut -c1-12)
cache=${TERRIX_CACHE_DIR:-$HOME/.cache/terrix}
prefix=$cache/qt-$qt_version-mingw-$script_hash
jobs=${TERRIX_JOBS:-2}

if [ "${1:-}" = --print-prefix ]; then
    echo "$prefix"
    exit 0
fi
if [ -f "$prefix/.complete" ]; then
    echo "Windows Qt $qt_version already built: $prefix"
    exit 0
fi

say() { echo "build-qt-windows: $*"; }
need() { command -v "$1" >/dev/null 2>&1 || { say "$1 is missing ($2)"; exit 1; }; }
need x86_64-w64-mingw32-g++-posix "apt-get install g++-mingw-w64-x86-64-posix"
need dpkg-source "apt-get install dpkg-dev"
need cmake "apt-get install cmake"
need ninja "apt-get install ninja-build"
host_cmake=/usr/lib/x86_64-linux-gnu/cmake
[ -f "$host_cmake/Qt6CoreTools/Qt6CoreToolsConfig.cmake" ] && [ -x /usr/lib/qt6/libexec/moc ] || {
    say "Debian's host Qt tools are missing (apt-get install qt6-base-dev qt6-base-dev-tools)"; exit 1; }
host_version=$(/usr/lib/qt6/libexec/moc -v | awk '{print $2}')
[ "$host_version" = "$qt_version" ] || { say "host Qt is $host_version, the sources are $qt_version"; exit 1; }

start=$(date +%s)
src=$cache/src-qt-$qt_version
# The build folder is kept across changes of this script, so that a change rebuilds only what it touches.
build=$cache/build-qt-$qt_version-mingw
mkdir -p "$src" "$cache"

# --- sources ---------------------------------------------------------------------------------------------------
# apt-get source needs a deb-src entry. The configured Debian archive (deb822 file debian.sources, or the
# classic sources.list) is repeated with "deb-src", so the sources are those of the packages apt installs.
have_deb_src() {
    grep -rqsE '^(Types:.*deb-src|deb-src )' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
fetch() {
    (cd "$src" && apt-get source -qq "$1=$2") || return 1
}
qtbase_src=$src/qt6-base-$qt_version+dfsg
if [ ! -d "$qtbase_src" ]; then
    if ! have_deb_src; then
        [ "$(id -u)" = 0 ] || { say "no deb-src entry in apt's sources, and adding one needs root"; exit 1; }
        entry=/etc/apt/sources.list.d/terrix-deb-src.sources
        if [ -f /etc/apt/sources.list.d/debian.sources ]; then
            sed 's/^Types:[[:space:]]*deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources >"$entry"
        else
            grep -E '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' >"${entry%.sources}.list"
            entry=${entry%.sources}.list
        fi
        say "added $entry: deb-src entries for the Debian archive apt already uses (needed by apt-get source)"
        apt-get update -qq
    fi
    base_ver=$(apt-cache showsrc qt6-base | awk '/^Version:/ {print $2}' | grep "^$qt_version" | head -n1)
    [ -n "$base_ver" ] || { say "Debian offers no $qt_version source of qt6-base"; exit 1; }
    rm -rf "$src"/qt6-base-*
    fetch qt6-base "$base_ver"
fi

# Qt 6.4.2's Windows platform plug-in takes "dynamic OpenGL" (which the Windows build turns on by itself) to mean
# that OpenGL is there; with OpenGL off its window code then names GL classes that are not built. Both places
# ask for OpenGL as well (idempotent).
sed -i 's/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$qtbase_src/src/plugins/platforms/windows/qwindowswindow.cpp"
# Likewise the DirectWrite font database, which Qt Gui builds only with Direct2D (off here): without it the
# plug-in uses the GDI font database, as it does by default.
sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$qtbase_src/src/plugins/platforms/windows/qwindowsintegration.cpp"

# --- qtbase ----------------------------------------------------------------------------------------------------
# Our MinGW toolchain file links the runtime statically into programs; "-static" for the DLLs and plug-ins does
# the same there (on MinGW the system libraries are import libraries either way).
mkdir -p "$build"
cd "$build"
if [ ! -f qtbase/.installed-$script_hash ]; then
    cmake -S "$qtbase_src" -B qtbase -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DCMAKE_C_FLAGS_RELEASE="-O1 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELEASE="-O1 -DNDEBUG" \
        -DCMAKE_SHARED_LINKER_FLAGS="-static -s" -DCMAKE_MODULE_LINKER_FLAGS="-static -s" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        -DQT_BUILD_MANUAL_TESTS=OFF \
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_network=ON -DFEATURE_localserver=ON \
        -DFEATURE_sessionmanager=ON -DFEATURE_style_windowsvista=ON -DFEATURE_png=ON \
        -DFEATURE_direct2d=OFF -DFEATURE_tuiotouch=OFF \
        -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_sql=OFF \
        -DFEATURE_printsupport=OFF -DFEATURE_testlib=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
        -DFEATURE_tabletevent=OFF -DFEATURE_ssl=OFF -DFEATURE_openssl=OFF \
        -DFEATURE_schannel=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF -DFEATURE_brotli=OFF -DFEATURE_glib=OFF \
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=ON \
        -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF \
        -DFEATURE_system_freetype=OFF -DFEATURE_system_png=OFF -DFEATURE_system_doubleconversion=OFF \
        -DFEATURE_system_jpeg=OFF -DFEATURE_system_libb2=OFF \
        -DFEATURE_androiddeployqt=OFF -DFEATURE_qmake=OFF \
        -DFEATURE_freetype=OFF -DFEATURE_pdf=OFF -DFEATURE_movie=OFF -DFEATURE_textodfwriter=OFF \
        -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF -DFEATURE_systemtrayicon=OFF \
        -DFEATURE_http=OFF -DFEATURE_networkproxy=OFF -DFEATURE_socks5=OFF -DFEATURE_udpsocket=OFF \
        -DFEATURE_dnslookup=OFF -DFEATURE_networkdiskcache=OFF -DFEATURE_topleveldomain=OFF \
        -DFEATURE_networklistmanager=OFF -DFEATURE_sctp=OFF -DFEATURE_gssapi=OFF \
        -DFEATURE_graphicsview=OFF -DFEATURE_graphicseffect=OFF -DFEATURE_mdiarea=OFF \
        -DFEATURE_calendarwidget=OFF -DFEATURE_undocommand=OFF -DFEATURE_undostack=OFF \
        -DFEATURE_undogroup=OFF -DFEATURE_undoview=OFF -DFEATURE_lcdnumber=OFF -DFEATURE_dial=OFF \
        -DFEATURE_keysequenceedit=OFF -DFEATURE_fontcombobox=OFF -DFEATURE_wizard=OFF \
        -DFEATURE_splashscreen=OFF -DFEATURE_columnview=OFF
    cmake --build qtbase -j "$jobs"
    cmake --install qtbase
    touch qtbase/.installed-$script_hash
fi

end=$(date +%s)
echo "$qt_version built in $((end - start)) s on $(nproc) cores with -j$jobs ($(date -u +%FT%TZ))" >"$prefix/.complete"
say "Windows Qt $qt_version ready in $prefix ($((end - start)) s)"
