#!/bin/sh
# Builds the Windows programs with MinGW-w64: the core, terrix-cli.exe and the test programs, and the desktop
# program terrix.exe when the Windows Qt of scripts/build-qt-windows.sh is built (one line says when not).
# Usage: scripts/build-windows.sh [BUILD_DIR]   (default build-windows)
# TERRIX_WINDOWS_DESKTOP=off leaves the desktop program out even when the Windows Qt is there.
# Needs what scripts/setup-debian.sh installs (g++-mingw-w64-x86-64-posix, googletest sources); the tests run
# under Wine through ctest (scripts/test-windows.sh), the desktop program under scripts/test-windows-desktop.sh.
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
jobs=${TERRIX_JOBS:-$(nproc)}
launcher=
if command -v ccache >/dev/null 2>&1; then
    launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
toolchain=$PWD/cmake/mingw-w64-x86_64.cmake
gui=-DTERRIX_BUILD_GUI=OFF
qt=$(scripts/build-qt-windows.sh --print-prefix)
if [ "${TERRIX_WINDOWS_DESKTOP:-auto}" = off ]; then
    :
elif [ -f "$qt/.complete" ]; then
    # Qt's own toolchain file puts the Windows Qt on the search path and takes moc, rcc and the translation
    # tools from the host's Qt of the same version; it loads ours for everything else.
    toolchain=$qt/lib/cmake/Qt6/qt.toolchain.cmake
    gui="-DTERRIX_BUILD_GUI=ON -DQT_CHAINLOAD_TOOLCHAIN_FILE=$PWD/cmake/mingw-w64-x86_64.cmake"
    gui="$gui -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake"
else
    echo "build-windows: desktop program skipped: no Windows Qt in $qt (scripts/build-qt-windows.sh builds it)"
fi
# A build folder made with the other toolchain starts afresh (CMake keeps the compiler of its first run).
if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
fi
# In batches (cmake/TerrixUnityBuild.cmake): the core, CLI and test build is mostly made from scratch, by the
# tests and for the zip; TERRIX_UNITY_BUILD=OFF for incremental work. The desktop build stays file by file
# unless asked, as it is the one built incrementally.
unity=${TERRIX_UNITY_BUILD:-ON}
case $gui in *GUI=ON*) unity=${TERRIX_UNITY_BUILD:-OFF} ;; esac
# shellcheck disable=SC2086 # $gui and $launcher are lists of options
cmake -S . -B "$dir" -G Ninja --toolchain "$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DTERRIX_WERROR=ON $gui -DTERRIX_BUILD_BENCH=OFF -DTERRIX_MAN_PAGES=OFF $launcher -DTERRIX_UNITY_BUILD="$unity"
# TERRIX_WINDOWS_TARGETS: only these targets (scripts/test-windows-desktop.sh needs the programs, not the tests).
# shellcheck disable=SC2086
cmake --build "$dir" -j "$jobs" ${TERRIX_WINDOWS_TARGETS:+--target $TERRIX_WINDOWS_TARGETS}
