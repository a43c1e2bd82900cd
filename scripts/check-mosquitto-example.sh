#!/usr/bin/env bash
# Starts Mosquitto with the configuration and access list that docs/fleet.md shows (on a free loopback port,
# in a scratch folder, without TLS) and checks what the guide says of them: each logger's messages below its
# own prefix arrive, those below another logger's prefix do not, the collector may read and ask for resends
# but write nothing else, and
# a wrong password or none is refused.
#   scripts/check-mosquitto-example.sh [docs/fleet.md]
set -euo pipefail
cd "$(dirname "$0")/.."
guide=${1:-docs/fleet.md}
fail() { echo "check-mosquitto-example: $*" >&2; exit 1; }
mosquitto=$(command -v mosquitto || echo /usr/sbin/mosquitto)
[[ -x $mosquitto ]] || fail "mosquitto is not installed"

scratch=$(mktemp -d)
broker_pid=
cleanup() {
    [[ -n $broker_pid ]] && kill "$broker_pid" 2>/dev/null && wait "$broker_pid" 2>/dev/null
    [[ -n ${KEEP:-} ]] && cat "$scratch/broker.log" "$scratch/mosquitto.conf" >&2
    rm -rf "$scratch"
}
trap cleanup EXIT

# The fenced block that begins with the line "# <path>".
block() {
    awk -v first="# $1" '/^```/ { if (inside) exit; fence = 1; next } fence && $0 == first { inside = 1 }
        { fence = 0 } inside { print }' "$guide"
}
block /etc/mosquitto/conf.d/terrix.conf >"$scratch/guide.conf"
block /etc/mosquitto/terrix-acl >"$scratch/acl"
[[ -s $scratch/guide.conf && -s $scratch/acl ]] || fail "$guide lacks the configuration or the access list"

# A port nobody listens on.
port=$((20000 + RANDOM % 40000))
while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do
    port=$((20000 + RANDOM % 40000))
done
# The guide's settings, but on the test's port, without TLS, and with the test's files.
grep -vE '^(listener|cafile|certfile|keyfile|password_file|acl_file)\b' "$scratch/guide.conf" >"$scratch/mosquitto.conf"
# "user" keeps the broker as the one who runs this (root would otherwise become "mosquitto", who may not
# read the scratch folder).
cat >>"$scratch/mosquitto.conf" <<EOF
user $(id -un)
listener $port 127.0.0.1
password_file $scratch/passwords
acl_file $scratch/acl
persistence_location $scratch/
EOF
touch "$scratch/passwords"
chmod 600 "$scratch/passwords" "$scratch/acl"
for login in logger-dam logger-hall3 central; do
    mosquitto_passwd -b "$scratch/passwords" "$login" "pw-$login"
done
"$mosquitto" -c "$scratch/mosquitto.conf" >"$scratch/broker.log" 2>&1 &
broker_pid=$!
for _ in $(seq 50); do
    mosquitto_pub -h 127.0.0.1 -p "$port" -u central -P pw-central -t probe -n -q 0 2>/dev/null && break
    sleep 0.1
done

pub() { mosquitto_pub -h 127.0.0.1 -p "$port" -u "$1" -P "${3:-pw-$1}" -t "$2" -m "$1 → $2" -q 1; }

# The collector's view of everything below terrix/ while the loggers publish.
mosquitto_sub -h 127.0.0.1 -p "$port" -u central -P pw-central -t 'terrix/#' -q 1 -v -W 5 \
    >"$scratch/seen" 2>/dev/null &
sub_pid=$!
sleep 0.5
pub logger-dam terrix/dam/31042/record
pub logger-dam terrix/dam/status
pub logger-hall3 terrix/hall3/4711/record
pub logger-dam terrix/hall3/4711/record   # another logger's prefix: dropped
pub central terrix/dam/31042/record       # the collector writes no records: dropped
pub central terrix/dam/31042/resend       # but asks a logger to send one again
pub logger-hall3 terrix/hall3/end
wait "$sub_pid" || true

expected=$(printf '%s\n' \
    "terrix/dam/31042/record logger-dam → terrix/dam/31042/record" \
    "terrix/dam/status logger-dam → terrix/dam/status" \
    "terrix/hall3/4711/record logger-hall3 → terrix/hall3/4711/record" \
    "terrix/dam/31042/resend central → terrix/dam/31042/resend" \
    "terrix/hall3/end logger-hall3 → terrix/hall3/end")
[[ $(cat "$scratch/seen") == "$expected" ]] ||
    fail "the collector saw other messages than the access list allows:"$'\n'"$(cat "$scratch/seen")"

# Logins: a wrong password and none are refused.
if pub logger-dam terrix/dam/x wrong 2>/dev/null; then fail "a wrong password was accepted"; fi
if mosquitto_pub -h 127.0.0.1 -p "$port" -t terrix/dam/x -m x -q 1 2>/dev/null; then
    fail "an anonymous client was accepted"
fi
echo "check-mosquitto-example: the guide's broker set-up allows and refuses as documented"
