#!/usr/bin/env bash
# vq3 write --set against vq3 sim: a club's loop over a list of callsigns writes each unit exactly what compile
# --set gives for that line, and a refused setting (an unknown name, a bad value, a profile outside 1 to 10) ends
# the command with exit 2 before a single byte goes to the unit.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/sim-session.sh"

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

head -c 128 /dev/zero >"$tmp/blank.bin"
printf 'N1ABC,9\nK2XYZ,7\nW3QRP,12\n' >"$tmp/trackers.csv"

while IFS=, read -r call ssid; do
    "$vq3" compile "$examples/tracking.vq3" --set TrkMyCall="$call" --set TrkSSID@1="$ssid" -o "$tmp/expected.stream"
    tail -c 128 "$tmp/expected.stream" >"$tmp/expected.bin"
    rm -f "$tmp/saved.bin"
    start_sim --image "$tmp/blank.bin" --save "$tmp/saved.bin"
    run write "$examples/tracking.vq3" --port "$port" --set TrkMyCall="$call" --set TrkSSID@1="$ssid"
    expect_status 0 "write --set for $call"
    cmp -s "$tmp/saved.bin" "$tmp/expected.bin" || fail "the unit for $call holds something else than compile --set gives"
    [ "$(head -c 10 "$tmp/saved.bin" | tail -c 6)" = "$(printf '%-6s' "$call")" ] || fail "the unit for $call holds another callsign"
    stop_sim
done <"$tmp/trackers.csv"

start_sim --image "$tmp/blank.bin" --save "$tmp/saved.bin"
rm -f "$tmp/saved.bin"
for setting in TrkColour=red TrkSSID@1=x TrkSSID@11=7 TrkSSID@0=7 TrkMyCall=TOOLONGCALL; do
    status=0
    timeout 60 "$vq3" --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" --set "$setting" \
        >"$tmp/out" 2>"$tmp/err" || status=$?
    expect_status 2 "write --set $setting"
    grep -q '^Error: ' "$tmp/err" || fail "write --set $setting gave no error line"
    ! grep -q ' -> ' "$tmp/trace.txt" || fail "write --set $setting sent bytes to the unit"
    [ ! -e "$tmp/saved.bin" ] || fail "write --set $setting changed the unit"
done
run write "$examples/tracking.vq3" --port "$port" --set TrkSSID@1=16
expect_status 1 "write --set with a value the checks refuse"
grep -q '^Invalid SSID: ' "$tmp/err" || fail "the check's box is missing: $(cat "$tmp/err")"
[ ! -e "$tmp/saved.bin" ] || fail "a refused write changed the unit"
stop_sim

echo "vq3 write --set programs each unit as compile --set shows, and refuses bad settings before the unit"
