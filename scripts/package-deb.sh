#!/usr/bin/env bash
# Builds the Debian packages terrix-cli and terrix into build-package/ (after scripts/setup-debian.sh):
# a Release build of the programs and manual pages only, with Debian's hardening flags, packed by CPack;
# dpkg-shlibdeps works out the dependencies. Check them with scripts/test-packages.sh.
#   scripts/package-deb.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

# Debian's compiler and linker flags (fortify, stack protector, relro, now); the debugging symbols would only
# be stripped again.
export DEB_BUILD_MAINT_OPTIONS=${DEB_BUILD_MAINT_OPTIONS:-hardening=+all}
CXXFLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS | sed 's/\(^\| \)-g\( \|$\)/ /')"
LDFLAGS="$(dpkg-buildflags --get LDFLAGS)"
export CXXFLAGS LDFLAGS

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DTERRIX_UNITY_BUILD=ON \
    -DTERRIX_UNITY_BATCH_SIZE=16 -DTERRIX_BUILD_TESTS=OFF -DTERRIX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
for deb in "$build"/*.deb; do
    echo "$deb: $(du -k "$deb" | cut -f1) kB"
    dpkg-deb --field "$deb" Depends | sed 's/^/  Depends: /'
done
