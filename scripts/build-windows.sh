#!/bin/sh
# Builds the Windows programs with MinGW-w64: the core, terrix-cli.exe and the test programs (the desktop
# program is not built for Windows yet). Usage: scripts/build-windows.sh [BUILD_DIR]   (default build-windows)
# Needs what scripts/setup-debian.sh installs (g++-mingw-w64-x86-64-posix, googletest sources); the tests run
# under Wine through ctest (scripts/test-windows.sh).
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
jobs=${TERRIX_JOBS:-$(nproc)}
launcher=
if command -v ccache >/dev/null 2>&1; then
    launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
# In batches (cmake/TerrixUnityBuild.cmake): the build is mostly made from scratch, by the tests and for the
# zip; TERRIX_UNITY_BUILD=OFF for incremental work.
cmake -S . -B "$dir" -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    -DTERRIX_WERROR=ON -DTERRIX_BUILD_GUI=OFF -DTERRIX_BUILD_BENCH=OFF -DTERRIX_MAN_PAGES=OFF $launcher \
    -DTERRIX_UNITY_BUILD="${TERRIX_UNITY_BUILD:-ON}"
cmake --build "$dir" -j "$jobs"
