#!/usr/bin/env bash
# What truly reaches the unit, seen from its side of the pseudo-terminal (vq3 sim --log): the abort burst arrives
# whole at a unit paced at the line rate after an echo mismatch, a write time-out, a read time-out and a reply
# not beginning with U; a signal in the middle of a write leaves the unit holding the burst and "E" and the port
# free; a write is read back, so a unit that stores another byte than it echoed is caught and a true one passes;
# a device one vq3 has open is refused to another, whatever path names it.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/../cli/sim-session.sh"
log="$tmp/unit.log"

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

# Checks that the bytes the unit received end with the given hex bytes (spaces ignored).
expect_unit_received_last()
{
    python3 - "$log" "$1" "$2" <<'PY' || fail "$2: the unit's side did not receive what was expected"
import sys
received = bytes(int(line.split()[1], 16) for line in open(sys.argv[1]) if line.strip())
expected = bytes.fromhex(sys.argv[2])
if not received.endswith(expected):
    sys.exit(f"{sys.argv[3]}: the unit received at the end\n  {received[-len(expected) - 8:].hex(' ')}\n"
             f"expected the end\n  {expected.hex(' ')}")
PY
}

burst_hex=$(python3 -c 'print((bytes(128) + b"E").hex())')
# The closing "E" follows the burst when vq3 ends.
burst_and_close="${burst_hex}45"

for example in "$examples"/*.vq3; do
    name=$(basename "$example" .vq3)
    "$vq3" compile "$example" -o "$tmp/$name.stream"
    tail -c 128 "$tmp/$name.stream" >"$tmp/$name.bin"
done
alarm_hex=$(python3 -c 'import sys; print(open(sys.argv[1], "rb").read().hex())' "$tmp/alarm.stream")

# Echo mismatch at byte 5: "D", four image bytes, the burst, the closing "E".
start_sim --line-rate --bad-echo-at 5 --image "$tmp/beacon.bin" --log "$log"
run write "$examples/alarm.vq3" --port "$port"
expect_status 3 "write with a bad echo"
stop_sim
expect_unit_received_last "${alarm_hex:0:10}$burst_and_close" "echo mismatch"

# Write time-out: the unit stops echoing after 40 bytes; after 5 s the burst still reaches it whole.
start_sim --line-rate --stop-echo-after 40 --image "$tmp/beacon.bin" --log "$log"
run write "$examples/alarm.vq3" --port "$port"
expect_status 3 "write to a unit that stops echoing"
stop_sim
expect_unit_received_last "${alarm_hex:0:82}$burst_and_close" "write time-out"

# Read time-out (a reply cut short) and a reply not beginning with U, both at the identification read.
for fault in "--short-reply 100" "--garbage-reply"; do
    # shellcheck disable=SC2086
    start_sim --line-rate $fault --log "$log"
    run identify --port "$port"
    expect_status 3 "identify with $fault"
    stop_sim
    expect_unit_received_last "55$burst_and_close" "read failure ($fault)"
done

# A signal in the middle of a write at the line rate: the burst and "E" reach the unit, the port is released,
# and vq3 says so and ends with 128 + the signal.
for signal in INT TERM HUP; do
    start_sim --line-rate --image "$tmp/beacon.bin" --log "$log"
    rm -f "$tmp/trace.txt"
    timeout 60 "$vq3" --trace "$tmp/trace.txt" write "$examples/alarm.vq3" --port "$port" >"$tmp/out" 2>"$tmp/err" &
    writer=$!
    pids+=("$writer")
    for _ in $(seq 500); do
        sent=$(grep -c ' -> ' "$tmp/trace.txt" 2>/dev/null || true)
        [ "${sent:-0}" -ge 60 ] && break
        kill -0 "$writer" 2>/dev/null || break
        sleep 0.01
    done
    kill -"$signal" "$writer"
    status=0
    wait "$writer" || status=$?
    expected=$((128 + $(kill -l "$signal")))
    expect_status "$expected" "write interrupted by SIG$signal"
    grep -qF "Interrupted: The write was interrupted by SIG$signal: the transfer was broken off and the VQ-3 was \
told to discard it" "$tmp/err" || fail "no word of the interrupted write (SIG$signal)"
    lock_name="LCK..$(printf '%s' "${port#/dev/}" | tr / _)"
    for folder in /var/lock /run/lock /tmp; do
        [ ! -e "$folder/$lock_name" ] || fail "the interrupted write (SIG$signal) left its lock $folder/$lock_name"
    done
    run identify --port "$port"
    expect_status 0 "identify right after the interrupted write (SIG$signal): the port is still held"
    stop_sim
    python3 - "$log" <<'PY' || fail "the unit did not receive the burst and E after SIG$signal"
import sys
received = bytes(int(line.split()[1], 16) for line in open(sys.argv[1]) if line.strip())
burst = bytes(128) + b"EE"
at = received.find(burst, received.index(b"D"))
if at < 0:
    sys.exit(f"no burst and closing E after the D: {received[-140:].hex(' ')}")
PY
done

# Read-back: a unit that stores byte 12 wrongly while echoing it rightly is caught (exit 3, the field named, the
# backup of what it held before); a true unit passes; --no-verify does not read back.
rm -rf "$backups"
start_sim --image "$tmp/beacon.bin" --store-wrong-at 12 --log "$log"
run write "$examples/alarm.vq3" --port "$port" --json
expect_status 3 "write to a unit that stores another byte than it echoes"
python3 - "$tmp/out" "$backups" <<'PY' || fail "the read-back box: $(cat "$tmp/out")"
import glob, json, sys
box = json.load(open(sys.argv[1]))["error"]
before = glob.glob(sys.argv[2] + "/*-identify-before-write.vq3")
expected = ("The VQ-3 did not store the configuration as it was written. Read back, it differs first in To Call "
            "(written \"ALARM\", read back \"\u00beLARM\").\r\n\r\nThe configuration it held before this write is "
            f"kept in {before[0]}.\r\n\r\nCheck the power and serial cable connections, and then write again.")
sys.exit(box["title"] != "Write Not Verified" or box["text"] != expected or box["icon"] != "critical")
PY
cmp -s "$(ls "$backups"/*-identify-before-write.bin)" "$tmp/beacon.bin" || fail "the backup named is not what the unit held"
run write "$examples/alarm.vq3" --port "$port" --no-verify --json
expect_status 0 "write without verify to the same unit"
[ "$(cat "$tmp/out")" = '{"ok":true,"verified":false}' ] || fail "write --no-verify printed $(cat "$tmp/out")"
expect_unit_received_last "${alarm_hex:232:26}45" "write without verify: no read-back after the last byte"
stop_sim

start_sim --image "$tmp/beacon.bin" --save "$tmp/saved.bin" --log "$log"
run write "$examples/alarm.vq3" --port "$port"
expect_status 0 "write to a true unit"
[ "$(cat "$tmp/out")" = "Download Complete" ] || fail "write to a true unit printed $(cat "$tmp/out")"
cmp -s "$tmp/saved.bin" "$tmp/alarm.bin" || fail "the true unit holds something else"
expect_unit_received_last "${alarm_hex:232:26}5545" "write to a true unit: the read-back U after the last byte"
stop_sim

# One device, two paths: while a write holds it through the link, an identify through /dev/pts/N is refused with
# the in-use box and the write completes untouched.
start_sim --line-rate --image "$tmp/beacon.bin" --save "$tmp/saved.bin" --log "$log"
terminal=$(head -n 1 "$tmp/sim.out")
rm -f "$tmp/saved.bin" "$tmp/trace.txt"
timeout 60 "$vq3" --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" >"$tmp/write.out" 2>&1 &
writer=$!
pids+=("$writer")
for _ in $(seq 500); do
    grep -q " -> 44 'D'" "$tmp/trace.txt" 2>/dev/null && break
    sleep 0.01
done
run identify --port "$terminal" --json
expect_status 3 "identify through $terminal while a write holds the device through its link"
python3 - "$tmp/out" "$terminal" <<'PY' || fail "no in-use box for the second path: $(cat "$tmp/out")"
import json, sys
report = json.load(open(sys.argv[1]))
sys.exit(report["error"]["title"] != "Error# 8005: Port Already Open" or report["device"] != sys.argv[2])
PY
status=0
wait "$writer" || status=$?
expect_status 0 "the write that held the device"
cmp -s "$tmp/saved.bin" "$tmp/tracking.bin" || fail "the unit holds something else after the second open was refused"
stop_sim

echo "the abort burst reaches the unit, signals end a write properly, every write is read back, one device one user"
