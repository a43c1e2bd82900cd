#!/usr/bin/env bash
# Builds Terrix, starts the bus simulator on a pseudo-terminal and lets terrix-cli talk to it: one raw
# transaction, a scan of the bus and the saved module list.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${TERRIX_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTERRIX_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target terrix-sim terrix-cli
bin="$build/bin"
data="$build/demo-data"
mkdir -p "$data"

"$bin/terrix-sim" --link "$data/bus" >"$data/sim.out" &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$data/bus" ] && break; sleep 0.1; done

# The simulated bus's modules, so that the demo scan probes only their stations (a complete scan of all
# 253 stations takes about 40 seconds: terrix-cli scan --mode complete).
if [ ! -f "$data/Terrix.ini" ]; then
    printf '[BUS INFO]\r\nModules=4\r\nModule0=31042,1\r\nModule1=31057,2\r\nModule2=40218,3\r\nModule3=20513,252\r\n' >"$data/Terrix.ini"
fi
cli=("$bin/terrix-cli" --data-dir "$data" --port "$data/bus")

echo "== Station information of the multiplexer at station 252"
"${cli[@]}" send --station 252 --command 2 || true
echo
echo "== Scan of the saved stations"
"${cli[@]}" scan --mode known
echo
echo "== The saved bus"
"${cli[@]}" list
echo
echo "Data directory: $data (Terrix.ini, module files). Try: ${cli[*]} --help-all"
