#!/usr/bin/env bash
# Checks the Debian packages that scripts/package-deb.sh made: lintian (no errors), the desktop entry and
# AppStream metadata, the manual pages; then unpacks both packages into a scratch root (dpkg -x, nothing is
# installed on this machine) and runs the installed programs from there: the version, a complete scan of
# the built-in simulated bus into a scratch data folder, the data folder an installed program chooses by
# itself, and the desktop program's screenshot tour offscreen.
#   scripts/test-packages.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
cli_deb=$(ls "$build"/terrix-cli_*.deb)
gui_deb=$(ls "$build"/terrix_*.deb)
fail() { echo "test-packages: $*" >&2; exit 1; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root=$scratch/root
for deb in "$cli_deb" "$gui_deb"; do
    dpkg-deb --info "$deb" >/dev/null
    dpkg -x "$deb" "$root"
done

# lintian: errors fail the test, warnings are listed.
lintian_log=$scratch/lintian.txt
lintian_status=0
lintian --tag-display-limit 0 "$cli_deb" "$gui_deb" >"$lintian_log" 2>&1 || lintian_status=$?
cat "$lintian_log"
if [[ $lintian_status -gt 1 ]]; then
    fail "lintian could not check the packages (status $lintian_status)"
fi
if [[ $lintian_status -ne 0 ]] || grep -q '^E: ' "$lintian_log"; then
    fail "lintian reports errors"
fi

desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml
scripts/check-man-pages.sh "$root"/usr/share/man/man1/*.1.gz

bin=$root/usr/bin
version=$(sed -n 's/^project(Terrix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ $("$bin/terrix-cli" --version) == "terrix-cli $version" ]] || fail "terrix-cli --version: wrong version"
[[ $("$bin/terrix-sim" --version) == "terrix-sim $version" ]] || fail "terrix-sim --version: wrong version"
[[ $(QT_QPA_PLATFORM=offscreen "$bin/terrix" --version) == "Terrix $version" ]] ||
    fail "terrix --version: wrong version"

# A complete scan of the simulated bus saves it in the data folder given; list shows it from the files.
data=$scratch/data
"$bin/terrix-cli" --quiet --port sim --data-dir "$data" scan --mode complete >/dev/null
[[ -s $data/Terrix.ini ]] || fail "the scan saved no Terrix.ini"
modules=$("$bin/terrix-cli" --data-dir "$data" --json list | grep -c '"wSerialNo"' || true)
[[ $modules -ge 4 ]] || fail "the saved bus lists $modules modules, expected the simulated bus's 4"

# Without a data folder an installed program writes to the per-user folder, never beside itself (the
# folder is writable here, as /usr/bin is for root).
env -u TERRIX_DATA_DIR -u XDG_DATA_HOME HOME="$scratch/home" "$bin/terrix-cli" --quiet known add 4711 >/dev/null
[[ -f $scratch/home/.local/share/terrix/Terrix.ini ]] || fail "an installed terrix-cli did not use ~/.local/share"
[[ ! -e $bin/Terrix.ini ]] || fail "an installed terrix-cli wrote beside itself"

# The screenshot tour of the installed desktop program, on a data folder of its own.
shots=$scratch/shots
HOME="$scratch/home" scripts/screenshots.sh "$bin/terrix" "$shots" >"$scratch/tour.log" 2>&1 ||
    { cat "$scratch/tour.log"; fail "the screenshot tour of the installed terrix failed"; }
[[ ! -e $bin/Terrix.ini ]] || fail "an installed terrix wrote beside itself"
echo "test-packages: $(basename "$cli_deb") and $(basename "$gui_deb") passed ($(ls "$shots" | wc -l) screenshots)"
