#!/usr/bin/env bash
# Link faults through vq3 and vq3 sim over a real pseudo-terminal: the unit killed or frozen in the middle of a
# read and of a write, a foreign device answering noise, a reply of noise, and a unit that echoes slowly. Each
# ends with the program's own box and status, no hang, nothing written where a good result would go, and no
# backup of an exchange that did not complete.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/../cli/sim-session.sh"

read_failure="A communications error occured while reading from the VQ-3.${crlfcr}\
Check your power and serial cable connections, and then cycle power to VQ-3 and try again.${crlfcr}\
If this error occurs without the VQ-3 connected to the serial port, then you have selected a serial port that is \
connected to a telephone modem or other device. Check the serial port and then try again."
write_failure="A communications error occured while writing to the VQ-3.${crlfcr}\
Check your power and serial cable connections, and then cycle power to VQ-3 and try again.${crlfcr}"
bad_reply=$'A communications error occured while reading from the VQ-3.\r\nPlease cycle power to the VQ-3 and then restart this program.'
no_unit="No VQ-3 answered on $port within 5 seconds. Check that the unit is in configuration mode, powered, and \
connected."

# Runs vq3 in the background until the trace shows the nth "U" or "D" going out and then `after` bytes received
# (read) or sent (write) after it; then does the fault to the unit and waits for vq3 to end.
run_and_break()
{
    local command=$1 nth=$2 after=$3 fault=$4
    shift 4
    status=0
    rm -f "$tmp/trace.txt"
    timeout 60 "$vq3" --trace "$tmp/trace.txt" "$@" >"$tmp/out" 2>"$tmp/err" &
    local client=$!
    pids+=("$client")
    local reached=""
    for _ in $(seq 1000); do
        if awk -v command="$command" -v nth="$nth" -v after="$after" '
            $2 == "->" && $3 == command { seen++; count = 0; next }
            seen == nth && command == "55" && $2 == "<-" { count++ }
            seen == nth && command == "44" && $2 == "->" { count++ }
            END { exit !(seen == nth && count >= after) }' "$tmp/trace.txt" 2>/dev/null; then
            reached=yes
            break
        fi
        kill -0 "$client" 2>/dev/null || break
        sleep 0.01
    done
    [ -n "$reached" ] || fail "vq3 $* never reached the middle of the exchange"
    if [ "$fault" = kill ]; then
        disown "$sim"
        kill -KILL "$sim"
    else
        kill -STOP "$sim"
    fi
    wait "$client" || status=$?
    [ "$status" -ne 124 ] || fail "vq3 $* hangs after the unit was ${fault}ed"
}

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

expect_box()
{
    python3 - "$tmp/out" "$1" "$2" <<'PY' || fail "expected the box '$1' / '$2', got: $(cat "$tmp/out")"
import json, sys
box = json.load(open(sys.argv[1]))["error"]
sys.exit(box["title"] != sys.argv[2] or box["text"] != sys.argv[3])
PY
}

expect_no_backup()
{
    if compgen -G "$backups/*[0-9]-$1.*" >/dev/null; then fail "a backup of a $1 that did not complete: $(ls "$backups")"; fi
}

# The box of a broken write, ending with where the configuration the unit held before it is kept.
expect_write_failure_box()
{
    python3 - "$tmp/out" "$write_failure" "$backups" <<'PY' || fail "expected the write failure box, got: $(cat "$tmp/out")"
import json, re, sys
box = json.load(open(sys.argv[1]))["error"]
kept = "\r\n\r\nThe configuration the unit held before this write is kept in " + re.escape(sys.argv[3]) + r"/\d{8}-\d{6}-\d{3}-VQ-3\+-fw2-identify-before-write\.vq3\."
sys.exit(box["title"] != "Communications Error" or not re.fullmatch(re.escape(sys.argv[2]) + kept, box["text"]))
PY
}

for example in "$examples"/*.vq3; do
    name=$(basename "$example" .vq3)
    "$vq3" compile "$example" -o "$tmp/$name.stream"
    tail -c 128 "$tmp/$name.stream" >"$tmp/$name.bin"
done
printf 'the old file\r\n' >"$tmp/old.vq3"

# The unit goes away (killed) and stops answering (frozen) in the middle of the user's read.
for fault in kill stop; do
    cp "$tmp/old.vq3" "$tmp/read.vq3"
    # The unit answers 2 s late (the read waits 5 s), so the fault lands before the reply ends however busy the
    # machine is.
    start_sim --line-rate --echo-delay 2000 --image "$tmp/tracking.bin"
    run_and_break 55 2 0 "$fault" read --port "$port" -o "$tmp/read.vq3" --json
    expect_status 3 "read with the unit ${fault}ed mid-reply"
    expect_box "Communications Error" "$read_failure"
    cmp -s "$tmp/read.vq3" "$tmp/old.vq3" || fail "a read broken by the unit (${fault}) replaced the output file"
    expect_no_backup read
    stop_sim
done

# The unit goes away and stops answering in the middle of a write: the unit keeps its old image.
for fault in kill stop; do
    rm -rf "$backups"
    # Each echo 20 ms late: the write still fits its 5 seconds, and the fault lands seconds before its end.
    start_sim --line-rate --echo-delay 20 --image "$tmp/beacon.bin" --save "$tmp/saved.bin"
    run_and_break 44 1 40 "$fault" write "$examples/alarm.vq3" --port "$port" --json
    expect_status 3 "write with the unit ${fault}ed mid-write"
    expect_write_failure_box
    [ ! -e "$tmp/saved.bin" ] || fail "a write broken by the unit (${fault}) completed in the unit"
    expect_no_backup write
    stop_sim
done

# A device that answers every byte with noise is no unit; a reply of noise is refused and nothing is decoded.
start_sim --garbage
run --trace "$tmp/trace.txt" identify --port "$port" --json
expect_status 3 "identify with a foreign device"
expect_box "Communications Error" "$no_unit"
grep -q ' <- ' "$tmp/trace.txt" || fail "the foreign device sent nothing"
stop_sim
rm -rf "$backups"
cp "$tmp/old.vq3" "$tmp/read.vq3"
start_sim --garbage-reply --image "$tmp/nmea.bin"
run --trace "$tmp/trace.txt" read --port "$port" -o "$tmp/read.vq3" --json
expect_status 3 "read with a reply of noise"
expect_box "Communications Error" "$bad_reply"
cmp -s "$tmp/read.vq3" "$tmp/old.vq3" || fail "a reply of noise replaced the output file"
[ ! -e "$backups" ] || [ -z "$(ls "$backups")" ] || fail "a reply of noise was kept as a backup: $(ls "$backups")"
stop_sim

# A unit that echoes slowly at the line rate: 15 ms a byte keeps the whole write within the 5-second limit,
# 50 ms a byte does not.
rm -rf "$backups"
start_sim --line-rate --echo-delay 15 --image "$tmp/beacon.bin" --save "$tmp/saved.bin"
run --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" --json
expect_status 0 "write to a unit echoing 15 ms late"
cmp -s "$tmp/saved.bin" "$tmp/tracking.bin" || fail "the slow unit holds something else than the image"
stop_sim
rm -f "$tmp/saved.bin"
rm -rf "$backups"
start_sim --line-rate --echo-delay 50 --image "$tmp/beacon.bin"
run --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" --json
expect_status 3 "write to a unit echoing 50 ms late"
expect_write_failure_box
expect_no_backup write
sent=$(grep -c ' -> ' "$tmp/trace.txt")
[ "$sent" -gt 20 ] || fail "the slow write stopped after $sent bytes, long before the time-out"
stop_sim

echo "vq3 meets every link fault with its box and keeps nothing half-done"
