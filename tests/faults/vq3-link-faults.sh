#!/usr/bin/env bash
# Link faults through vq3 and vq3 sim over a real pseudo-terminal, seen from both ends (vq3's trace, the unit's
# log): a unit killed or frozen mid-read and mid-write, noise, slow echoes, an echo mismatch, time-outs, signals,
# a write read back wrong, one device under two paths. Each ends with its box and status, no hang, the abort burst
# arriving whole at the unit, nothing written where a good result would go and no backup of a broken exchange.
vq3=$1
examples=$2
source "$(dirname "$0")/../cli/vq3-lib.sh"
images beacon tracking alarm nmea
head -c 128 /dev/zero >"$tmp/blank.bin"
alarm=$(xxd -p -c 256 "$tmp/alarm.stream")
burst="$(printf '00%.0s' $(seq 128))4545"
printf 'the old file\r\n' >"$tmp/old.vq3"
no_backup() { ! compgen -G "$backups/*[0-9]-$1.*" >/dev/null || fail "a backup of a broken $1: $(ls "$backups")"; }
# The box of a broken write ends with where the configuration the unit held before it is kept.
write_failed() { box "Communications Error" && json 'j["error"]["text"].endswith("\r\n\r\nThe configuration the unit held before this write is kept in %s." % glob.glob(a[0])[0]) and "\r\r" not in j["error"]["text"] and "\n\r\n\r\n" not in j["error"]["text"]' "$backups/*-VQ-3+-fw2-identify-before-write.vq3"; }

# The unit goes away (killed) or stops answering (frozen) in the middle of a read (it answers 2 s late, so the fault
# lands before the reply ends) and of a write (each echo 20 ms late).
for fault in KILL STOP; do
    cp "$tmp/old.vq3" "$tmp/read.vq3"
    start_sim --line-rate --echo-delay 2000 --image "$tmp/tracking.bin"
    background read --port "$port" -o "$tmp/read.vq3" --json
    wait_trace '$2 == "->" && $3 == "55" { n++ } END { exit n < 2 }'
    kill -"$fault" "$sim"
    finish 3
    box "Communications Error"
    cmp -s "$tmp/read.vq3" "$tmp/old.vq3" || fail "a read broken by SIG$fault replaced the output file"
    no_backup read
    stop_sim
    rm -rf "$backups"
    start_sim --line-rate --echo-delay 20 --image "$tmp/beacon.bin" --save "$tmp/saved.bin"
    background write "$examples/alarm.vq3" --port "$port" --json
    wait_trace '$3 == "44" { d = 1 } d && $2 == "->" { n++ } END { exit n < 40 }'
    kill -"$fault" "$sim"
    finish 3
    write_failed
    [ ! -e "$tmp/saved.bin" ] || fail "a write broken by SIG$fault completed in the unit"
    no_backup write
    stop_sim
done

# A reply of noise decodes nothing and keeps nothing.
rm -rf "$backups"
cp "$tmp/old.vq3" "$tmp/read.vq3"
start_sim --garbage-reply --image "$tmp/nmea.bin"
expect 3 read --port "$port" -o "$tmp/read.vq3" --json
box "Communications Error"
cmp -s "$tmp/read.vq3" "$tmp/old.vq3" || fail "a reply of noise replaced the output file"
[ -z "$(ls -A "$backups" 2>/dev/null)" ] || fail "a reply of noise was kept"
stop_sim
expect 3 identify --port "$tmp/no-such-device" --json
box "Error# 8002: Invalid Port Number"
json 'j["error"]["text"].startswith("Serial port " + a[0] + " is invalid")' "$tmp/no-such-device"

# Echoes 50 ms late do not fit the write's 5 seconds, and the write was under way long before its time-out.
rm -rf "$backups"
start_sim --line-rate --echo-delay 50 --image "$tmp/beacon.bin" --save "$tmp/saved.bin"
expect 3 --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" --json
write_failed
no_backup write
[ "$(grep -c ' -> ' "$tmp/trace.txt")" -gt 20 ] || fail "the slow write stopped long before its time-out"
stop_sim

# An echo mismatch at the fifth byte: the trace shows "D", four image bytes, the burst and the closing "E", in
# well-formed lines, and exactly that reaches a unit paced at the line rate.
start_sim --line-rate --bad-echo-at 5 --image "$tmp/blank.bin" --log "$tmp/unit.log"
expect 3 --trace "$tmp/trace.txt" write "$examples/alarm.vq3" --port "$port" --json
box "Communications Error"
stop_sim
[[ "$(received)" == *"${alarm:0:10}$burst" ]] || fail "the unit did not receive the burst after the mismatch"
python3 - "$tmp/trace.txt" "$tmp/alarm.bin" <<'PY' || fail "the trace of the echo mismatch"
import re, sys
image, sent, received = open(sys.argv[2], "rb").read(), b"", b""
for line in open(sys.argv[1]).read().splitlines():
    match = re.fullmatch(r"\d+\.\d{3} (->|<-) ([0-9A-F]{2})( '(.)')?", line)
    byte = bytes([int(match.group(2), 16)])
    assert not match.group(3) or match.group(4).encode("latin-1") == byte, line
    if match.group(1) == "->": sent += byte
    else: received += byte
request = sent.index(b"U")
assert set(sent[:request]) == {0xAA} and sent[request + 1:] == b"D" + image[:4] + bytes(128) + b"EE", sent.hex()
assert b"U\x01\x02" + bytes(128) in received
PY

# A unit that stops echoing, a reply cut short and a reply of noise: the burst still reaches it whole.
for fault in "--stop-echo-after 40:write $examples/alarm.vq3:${alarm:0:82}" "--short-reply 100:identify:55" \
    "--garbage-reply:identify:55"; do
    IFS=: read -r option command sent <<<"$fault"
    start_sim --line-rate $option --image "$tmp/beacon.bin" --log "$tmp/unit.log"
    expect 3 $command --port "$port" --json
    box "Communications Error"
    stop_sim
    [[ "$(received)" == *"$sent$burst" ]] || fail "the unit did not receive the burst after $option"
done

# A signal in the middle of a write: the burst and "E" reach the unit, the lock is gone, the port is free, and vq3
# says so and ends with 128 + the signal.
for signal in INT TERM HUP; do
    start_sim --line-rate --image "$tmp/beacon.bin" --log "$tmp/unit.log"
    background write "$examples/alarm.vq3" --port "$port"
    wait_trace '$3 == "44" { d = 1 } d && $2 == "->" { n++ } END { exit n < 60 }'
    kill -"$signal" "$client"
    finish $((128 + $(kill -l "$signal")))
    grep -q "^Interrupted: The write was interrupted by SIG$signal" "$tmp/err" || fail "no word of SIG$signal"
    for folder in /var/lock /run/lock /tmp; do [ ! -e "$folder/LCK..${port//\//_}" ] || fail "a lock is left"; done
    expect 0 identify --port "$port"
    stop_sim
    [[ "$(received)" == *44*"$burst"* ]] || fail "the unit did not receive the burst after SIG$signal"
done

# vq3 killed in the middle of a write (SIGKILL, which no handler sees) leaves the terminal in exclusive mode; no
# program holds the device's lock any more, so the next open by an ordinary user takes the device all the same. It
# finds the unit still taking the broken write (nobody told it), times out and tells it; the open after that finds
# it ready. A lock file that another user planted in the shared lock folder (naming process 1) does not deny it.
as_user=("$(dirname "$0")/as-ordinary-user.sh")
start_sim --line-rate --image "$tmp/beacon.bin"
device=$(head -n 1 "$tmp/sim.out")
[ "$(id -u)" -ne 0 ] || chown 65534 "$device"
background write "$examples/alarm.vq3" --port "$device"
wait_trace '$3 == "44" { d = 1 } d && $2 == "->" { n++ } END { exit n < 30 }'
kill -KILL "$(ps -o pid= --ppid "$client")"
wait "$client" 2>/dev/null || true
prefix=("${as_user[@]}")
expect 3 identify --port "$device" --json
box "Communications Error"
expect 0 identify --port "$device"
[ "$(cat "$tmp/out")" = "VQ-3+ firmware 2" ] || fail "the identification after vq3 was killed"
prefix=()
if [ "$(id -u)" -eq 0 ]; then
    planted="/run/lock/LCK..${device#/dev/}" && planted=${planted//pts\//pts_}
    printf '1\n' >"$planted" && chown 4242 "$planted"
    status=0
    timeout 60 "${as_user[@]}" "$vq3" identify --port "$device" >"$tmp/out" 2>"$tmp/err" || status=$?
    rm -f "$planted"
    [ "$status" -eq 0 ] || fail "a lock file planted by another user denied the device to its owner: exit $status"
fi
stop_sim

# A write is read back: a unit storing byte 12 wrongly while echoing it rightly is caught, with the field named and
# the backup of what it held; --no-verify does not read back; a true unit passes with the read-back "U".
rm -rf "$backups"
start_sim --image "$tmp/beacon.bin" --store-wrong-at 12 --log "$tmp/unit.log"
expect 3 write "$examples/alarm.vq3" --port "$port" --json
box "Write Not Verified"
json '"first in To Call (written \"ALARM\", read back \"\u00beLARM\")" in j["error"]["text"]'
cmp -s "$(ls "$backups"/*-identify-before-write.bin)" "$tmp/beacon.bin" || fail "the backup named after a bad read-back"
expect 0 write "$examples/alarm.vq3" --port "$port" --no-verify --json
[ "$(cat "$tmp/out")" = '{"ok":true,"verified":false}' ] || fail "write --no-verify"
[[ "$(received)" == *"${alarm:232:26}45" ]] || fail "write --no-verify read back"
stop_sim
start_sim --image "$tmp/beacon.bin" --log "$tmp/unit.log"
expect 0 write "$examples/alarm.vq3" --port "$port"
[[ "$(received)" == *"${alarm:232:26}5545" ]] || fail "no read-back after the write"

# One device, two paths: while a write holds it through the link, an identify through /dev/pts/N is refused.
stop_sim
start_sim --line-rate --image "$tmp/beacon.bin" --save "$tmp/saved.bin"
background write "$examples/tracking.vq3" --port "$port"
wait_trace '$3 == "44" { n++ } END { exit !n }'
expect 3 identify --port "$(head -n 1 "$tmp/sim.out")" --json
json 'j["error"]["title"] == "Error# 8005: Port Already Open" and j["device"] == a[0]' "$(head -n 1 "$tmp/sim.out")"
finish 0
cmp -s "$tmp/saved.bin" "$tmp/tracking.bin" || fail "the unit holds something else after the refused second open"
stop_sim
echo "vq3 meets every link fault with its box, its burst and nothing half-done"
