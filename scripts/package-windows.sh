#!/bin/sh
# The portable Windows archive terrix-cli-<version>-win64.zip from a Windows build (scripts/build-windows.sh):
# terrix-cli.exe, the README, the manual page of terrix-cli as text, the example scenarios.
# Usage: scripts/package-windows.sh [BUILD_DIR]   (default build-windows; the zip is written there)
set -eu
cd "$(dirname "$0")/.."
dir=${1:-build-windows}
version=$(sed -n 's/^project(Terrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
date=$(sed -n 's/^set(TERRIX_RELEASE_DATE "\(.*\)")/\1/p' CMakeLists.txt)
name=terrix-cli-$version-win64
work=$dir/package
stage=$work/$name
rm -rf "$work" "$dir/$name.zip"
mkdir -p "$stage/scenarios"

cp "$dir/bin/terrix-cli.exe" "$stage/"
cp README.md "$stage/"
cp sim/SCENARIOS.md sim/scenarios/*.json "$stage/scenarios/"

# The manual page is made as on Linux, from the program's own help, here the Windows program's under Wine
# (whose console output ends its lines with CR LF), then rendered as plain text with Windows line ends.
wrapper=$work/terrix-cli-under-wine
cat >"$wrapper" <<WRAPPER
#!/bin/sh
"$PWD/scripts/wine-run.sh" "$PWD/$dir/wineprefix" "$PWD/$dir/bin/terrix-cli.exe" "\$@" | tr -d '\r'
WRAPPER
chmod +x "$wrapper"
perl docs/man/help2roff.pl "$wrapper" terrix-cli docs/man/terrix-cli.1.in "$work/terrix-cli.1" "$date"
MANWIDTH=80 man -l "$work/terrix-cli.1" 2>/dev/null | col -bx | sed 's/$/\r/' >"$stage/terrix-cli.txt"
test -s "$stage/terrix-cli.txt"

(cd "$work" && zip -q -r -X "../$name.zip" "$name")
echo "$dir/$name.zip"
