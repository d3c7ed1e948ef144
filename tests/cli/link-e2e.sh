#!/usr/bin/env bash
# vq3 identify, read, write and diff against vq3 sim through a real pseudo-terminal and the real serial port:
# every bundled example read and written exactly, the plain VQ-3 refusal, old firmware, time-outs, an echo
# mismatch checked byte by byte in the trace, a unit that goes away mid-write, and the backups kept.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/sim-session.sh"

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

json_field()
{
    python3 - "$tmp/out" "$@" <<'PY'
import json, sys
value = json.load(open(sys.argv[1]))
for key in sys.argv[2:]:
    value = value[key]
print(value)
PY
}

expect_error_box()
{
    python3 - "$tmp/out" "$1" "$2" <<'PY' || fail "expected the box '$1': $(cat "$tmp/out")"
import json, sys
box = json.load(open(sys.argv[1]))["error"]
sys.exit(box["title"] != sys.argv[2] or box["text"] != sys.argv[3])
PY
}

for example in "$examples"/*.vq3; do
    name=$(basename "$example" .vq3)
    "$vq3" compile "$example" -o "$tmp/$name.stream"
    tail -c 128 "$tmp/$name.stream" >"$tmp/$name.bin"
done
head -c 128 /dev/zero >"$tmp/blank.bin"

# Identification of a VQ-3+ with firmware 2, by path and as COM2; a backup of what it holds.
start_sim --model 1 --firmware 2 --image "$tmp/beacon.bin"
run identify --port "$port"
expect_status 0 "identify"
[ "$(cat "$tmp/out")" = "VQ-3+ firmware 2" ] || fail "identify printed '$(cat "$tmp/out")'"
run identify --port "$port" --json
expect_status 0 "identify --json"
[ "$(json_field model)/$(json_field firmware)" = "VQ-3+/2" ] || fail "identify --json: $(cat "$tmp/out")"
status=0
QUELLMARK_COM2="$port" timeout 60 "$vq3" identify --port COM2 >"$tmp/out" 2>"$tmp/err" || status=$?
expect_status 0 "identify --port COM2"
identified=("$backups"/*-VQ-3+-fw2-identify.bin)
[ "${#identified[@]}" -eq 1 ] || fail "${#identified[@]} identification backups of one image, not 1"
cmp "${identified[0]}" "$tmp/beacon.bin" || fail "the identification backup differs from the unit's image"
cmp "${identified[0]%.bin}.vq3" "$examples/beacon.vq3" || fail "the identification backup does not decode"
touch "$tmp/not-a-folder"
status=0
XDG_DATA_HOME="$tmp/not-a-folder" timeout 60 "$vq3" identify --port "$port" >"$tmp/out" 2>"$tmp/err" || status=$?
expect_status 0 "identify without a place for backups"
grep -q "^vq3: warning: no backup kept in $tmp/not-a-folder/quellmark/backups: " "$tmp/err" ||
    fail "no warning when no backup can be kept"
stop_sim

# A port that cannot be opened.
run identify --port "$tmp/no-such-device"
expect_status 3 "identify on a missing device"
grep -q '^Error# 8002: Invalid Port Number: Serial port COM1 is invalid - The port does not exist.' "$tmp/err" ||
    fail "no 8002 box for a missing device"
grep -q "^$tmp/no-such-device: " "$tmp/err" || fail "no reason line for a missing device"

# Every mode read from a unit holding its compiled image gives back exactly the example; the same image
# compared with the example is the same configuration.
for example in "$examples"/*.vq3; do
    name=$(basename "$example" .vq3)
    start_sim --image "$tmp/$name.bin"
    run read --port "$port"
    expect_status 0 "read $name"
    cmp "$tmp/out" "$example" || fail "read of $name differs from the example"
    run read --port "$port" -o "$tmp/read.vq3"
    expect_status 0 "read $name -o"
    cmp "$tmp/read.vq3" "$example" || fail "read -o of $name differs from the example"
    run diff "$example" "unit:$port"
    expect_status 0 "diff $name unit:PORT"
    [ ! -s "$tmp/out" ] || fail "diff of $name with its own image reports differences"
    stop_sim
done
run read --port "$port" --json
expect_status 3 "read with the unit gone"

# Every mode written lands in the unit as exactly its compiled image and reads back as the example.
for example in "$examples"/*.vq3; do
    name=$(basename "$example" .vq3)
    rm -f "$tmp/saved.bin"
    start_sim --image "$tmp/blank.bin" --save "$tmp/saved.bin"
    run write "$example" --port "$port"
    expect_status 0 "write $name"
    [ "$(cat "$tmp/out")" = "Download Complete" ] || fail "write $name printed '$(cat "$tmp/out")'"
    cmp "$tmp/saved.bin" "$tmp/$name.bin" || fail "the unit holds something else than the image of $name"
    written=$(ls "$backups"/*.vq3 | tail -n 1)
    [[ "$written" == *-write.vq3 ]] || fail "the newest backup after writing $name is $written"
    cmp "$written" "$example" || fail "the backup of the write of $name differs"
    run read --port "$port"
    expect_status 0 "read after writing $name"
    cmp "$tmp/out" "$example" || fail "$name does not round-trip through the unit"
    stop_sim
done
[ -z "$(md5sum "$backups"/*.bin | cut -d " " -f 1 | sort | uniq -d)" ] || fail "a configuration is kept twice"

# A plain VQ-3 refuses Beacon before anything is sent, and takes Tracking.
rm -f "$tmp/saved.bin"
start_sim --model 0 --image "$tmp/blank.bin" --save "$tmp/saved.bin"
run write "$examples/beacon.vq3" --port "$port" --json
expect_status 1 "Beacon on a plain VQ-3"
expect_error_box "Error" "Sorry - The mode that you have attempted to program is not available on the Model VQ-3.  \
You will need to upgrade your VQ-3 to a VQ-3+ to use this mode."
[ ! -e "$tmp/saved.bin" ] || fail "a refused write reached the unit"
run write "$examples/tracking.vq3" --port "$port"
expect_status 0 "Tracking on a plain VQ-3"
cmp "$tmp/saved.bin" "$tmp/tracking.bin" || fail "Tracking on a plain VQ-3 holds something else"
stop_sim

# Firmware 0: the warning once, and the read still decodes.
start_sim --firmware 0 --image "$tmp/nmea.bin"
run read --port "$port"
expect_status 0 "read with firmware 0"
[ "$(grep -c '^Warning: This version of the Quellmark Configuration program is designed' "$tmp/err")" -eq 1 ] ||
    fail "the old-firmware warning is not shown exactly once"
cmp "$tmp/out" "$examples/nmea.vq3" || fail "the read after the warning does not decode"
stop_sim

# No unit answering, and a reply cut short.
start_sim --silent
run identify --port "$port"
expect_status 3 "identify with a silent unit"
grep -qF "Communications Error: No VQ-3 answered on $port within 5 seconds." "$tmp/err" || fail "no no-unit box"
stop_sim
start_sim --short-reply 100
run read --port "$port" --json
expect_status 3 "read with a short reply"
expect_error_box "Communications Error" "A communications error occured while reading from the VQ-3.${crlfcr}\
Check your power and serial cable connections, and then cycle power to VQ-3 and try again.${crlfcr}\
If this error occurs without the VQ-3 connected to the serial port, then you have selected a serial port that is \
connected to a telephone modem or other device. Check the serial port and then try again."
stop_sim

# An echo mismatch at the fifth byte: exactly "D", four image bytes, the abort burst, then the closing "E".
start_sim --bad-echo-at 5 --image "$tmp/blank.bin"
run --trace "$tmp/trace.txt" write "$examples/alarm.vq3" --port "$port"
expect_status 3 "write with a bad echo"
grep -qF 'Communications Error: A communications error occured while writing to the VQ-3.' "$tmp/err" ||
    fail "no echo mismatch box"
stop_sim
python3 - "$tmp/trace.txt" "$tmp/alarm.bin" <<'PY' || fail "trace of the echo mismatch"
import re, sys
lines = open(sys.argv[1]).read().splitlines()
image = open(sys.argv[2], "rb").read()
pattern = re.compile(r"^\d+\.\d{3} (->|<-) ([0-9A-F]{2})( '.')?$")
sent, received = b"", b""
for line in lines:
    match = pattern.match(line)
    if not match:
        sys.exit(f"not a trace line: {line!r}")
    byte = bytes([int(match.group(2), 16)])
    if match.group(3) and match.group(3)[2:3].encode("latin-1") != byte:
        sys.exit(f"character does not match the byte: {line!r}")
    if match.group(1) == "->":
        sent += byte
    else:
        received += byte
request = sent.index(b"U")
if set(sent[:request]) != {0xAA}:
    sys.exit(f"before the read request: {sent[:request].hex(' ')}")
expected = b"D" + image[:4] + bytes(128) + b"E" + b"E"
if sent[request + 1:] != expected:
    sys.exit(f"after the read request: {sent[request + 1:].hex(' ')}")
if b"U\x01\x02" + bytes(128) not in received:
    sys.exit("the reply to U is not in the trace")
PY

# The unit goes away in the middle of a write at the line rate: a link failure, no hang.
start_sim --line-rate --image "$tmp/blank.bin"
status=0
timeout 60 "$vq3" --trace "$tmp/gone.txt" write "$examples/nmea.vq3" --port "$port" >"$tmp/out" 2>"$tmp/err" &
writer=$!
pids+=("$writer")
for _ in $(seq 400); do
    grep -q " -> 44 'D'" "$tmp/gone.txt" 2>/dev/null && break
    kill -0 "$writer" 2>/dev/null || break
    sleep 0.02
done
grep -q " -> 44 'D'" "$tmp/gone.txt" || fail "the write never started"
disown "$sim"
kill -KILL "$sim"
wait "$writer" || status=$?
[ "$status" -ne 124 ] || fail "vq3 write hangs after the unit went away"
expect_status 3 "write with the unit gone"
grep -qF 'Communications Error: A communications error occured while writing to the VQ-3.' "$tmp/err" ||
    fail "no write failure box when the unit went away"

echo "vq3 talks to the simulated unit"
