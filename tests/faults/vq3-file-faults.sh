#!/usr/bin/env bash
# File and output faults through vq3 (the desktop test covers the same file port's other faults): saves onto a full
# disk, past the file-size limit, over a file held open; what is not a regular file; standard output, help, the
# version, the trace and the simulated unit's log that cannot be written; standard input that never ends; names that
# are not UTF-8. Each gets its box or reason and exit status, the old file stays whole and nothing waits. The desktop
# program ignores the file-size signal and opens a file whose name is not UTF-8, also one handed over by a second
# start.
vq3=$1
quellmark=$2
examples=$3
source "$(dirname "$0")/../cli/vq3-lib.sh"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config"
mkdir -p "$HOME"
images tracking
printf 'the old file\r\n' >"$tmp/old.vq3"
save=(decode "$tmp/tracking.stream" --json -o)
# old FOLDER: the folder holds a.vq3 as the old file and nothing else.
old() { cmp -s "$1/a.vq3" "$tmp/old.vq3" && [ "$(ls -A "$1")" = a.vq3 ] || fail "$1 holds $(ls -A "$1")"; }
folder() { mkdir -m "$2" "$tmp/$1" && cp "$tmp/old.vq3" "$tmp/$1/a.vq3" && chmod 666 "$tmp/$1/a.vq3" && chmod "$3" "$tmp/$1"; }

expect 2 "${save[@]}" /dev/full
box "Error# 61: Disk Full"
folder limited 755 755
# The file-size limit covers every regular file, so the answer goes through a pipe; the signal must not end vq3.
status=0
limited=$( (ulimit -f 0 && exec timeout 60 "$vq3" "${save[@]}" "$tmp/limited/a.vq3") 2>/dev/null) || status=$?
printf '%s\n' "$limited" >"$tmp/out"
[ "$status" -eq 2 ] || fail "a save past the file-size limit: exit $status"
box "Error# 61: Disk Full"
old "$tmp/limited"
# A file another program holds open is replaced whole; that program goes on reading the old file.
folder held 755 755
sleep 600 <"$tmp/held/a.vq3" &
pids+=("$!")
expect 0 "${save[@]}" "$tmp/held/a.vq3"
"$vq3" decode "$tmp/tracking.stream" | cmp -s - "$tmp/held/a.vq3" || fail "the save over a held file"
cmp -s "/proc/${pids[-1]}/fd/0" "$tmp/old.vq3" && [ "$(ls -A "$tmp/held")" = a.vq3 ] || fail "the held file"

mkfifo "$tmp/unwritten.fifo"
expect 2 decode "$tmp/unwritten.fifo"
grep -qxF "Error: Cannot read $tmp/unwritten.fifo: It is a FIFO, not a regular file." "$tmp/err" || fail "decode FIFO"
expect 2 decode - </dev/zero
grep -qx "Error: Cannot read standard input: it does not end within 16 MiB." "$tmp/err" || fail "endless input"
head -c 16777216 /dev/zero >"$tmp/whole" && expect 2 decode - <"$tmp/whole"
grep -q "this one has 16777216" "$tmp/err" || fail "16 MiB of input is read whole"

# Standard output and the trace that cannot be written end with exit 2 and the system's reason; a transfer under
# a failing trace still completes.
start_sim --image "$tmp/tracking.bin"
expect 2 read --port "$port" --json -o /dev/full
box "Error# 61: Disk Full"
for command in "read --port $port" "show $examples/tracking.vq3 --json"; do
    status=0
    timeout 60 "$vq3" $command >/dev/full 2>"$tmp/err" || status=$?
    [ "$status" -eq 2 ] && grep -qxF "vq3: cannot write standard output: No space left on device" "$tmp/err" ||
        fail "$command onto a full disk: exit $status"
done
limited=$( (ulimit -f 0 && exec timeout 60 "$vq3" decode "$tmp/tracking.stream" 2>&1 >"$tmp/limited.vq3")) || true
[ "$limited" = "vq3: cannot write standard output: File too large" ] || fail "standard output past the limit"
expect 2 --trace /dev/full identify --port "$port"
[ "$(cat "$tmp/out")" = "VQ-3+ firmware 2" ] || fail "the identification under a failing trace"
grep -qxF "vq3: cannot write the trace file /dev/full: No space left on device" "$tmp/err" || fail "trace on /dev/full"
stop_sim

# Help, the version and the simulated unit's log that cannot be written end at once with the reason; a trace or a
# log into a FIFO that nobody reads is refused at once instead of waiting for a reader for ever.
for option in --help --version; do
    status=0
    timeout 60 "$vq3" $option >/dev/full 2>"$tmp/err" || status=$?
    [ "$status" -eq 2 ] && grep -qxF "vq3: cannot write standard output: No space left on device" "$tmp/err" ||
        fail "vq3 $option onto a full disk: exit $status"
done
expect 0 --version
[[ "$(cat "$tmp/out")" == "vq3 "[0-9]* ]] || fail "vq3 --version printed $(cat "$tmp/out")"
status=0
timeout 60 "$quellmark" --version >/dev/full 2>"$tmp/err" || status=$?
[ "$status" -eq 2 ] && grep -qxF "quellmark: cannot write standard output: No space left on device" "$tmp/err" ||
    fail "quellmark --version onto a full disk: exit $status"
mkfifo "$tmp/nobody-reads.fifo"
expect 2 --trace "$tmp/nobody-reads.fifo" compile "$examples/tracking.vq3" -o "$tmp/compiled.stream"
grep -qxF "Error: Cannot write the trace file $tmp/nobody-reads.fifo: it is a FIFO that nobody reads." "$tmp/err" ||
    fail "a trace into a FIFO nobody reads"
for log in /dev/full "$tmp/nobody-reads.fifo"; do
    expect 2 sim --log "$log"
    [ ! -s "$tmp/out" ] && grep -q "^Error: Cannot write the log $log: " "$tmp/err" || fail "vq3 sim --log $log"
done

# Bytes that are not UTF-8 in a port's name, the environment and a file name give valid JSON, byte for character.
odd=$'\xff\xe9'
expect 3 identify --port "$tmp/$odd" --json
json 'j["device"] == a[0]' "$tmp/ÿé"
expect 3 diff "unit:$tmp/$odd" "$examples/tracking.vq3" --json
json 'j["reason"] == a[0] + ": No such file or directory"' "$tmp/ÿé"
expect 2 show "$tmp/$odd.vq3" --json
box "Error# 53: File Not Found"
prefix=(env QUELLMARK_COM4="$tmp/$odd")
expect 0 ports --json
json 'j["com"]["COM4"] == a[0]' "$tmp/ÿé"
prefix=()

# The desktop program ignores the file-size signal from its start, so that its saves fail with a box instead.
export XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$quellmark" >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 200); do
    mask=$(awk '/^SigIgn:/ { print $2 }' "/proc/${pids[-1]}/status" 2>/dev/null || true)
    [ -n "$mask" ] && (((16#$mask >> 24) & 1)) && break
    kill -0 "${pids[-1]}" 2>/dev/null || fail "quellmark ended"
    sleep 0.05
done
(((16#$mask >> 24) & 1)) || fail "quellmark does not ignore SIGXFSZ"
kill -KILL "${pids[-1]}"

# A file name that is not UTF-8 opens as any other, named at the start and handed to the running copy by a second
# start; each lands in the recent files as its own bytes. A signal ends the program as Exit does.
app="$tmp/app"
mkdir -p "$app"
cp "$quellmark" "$app/"
printf '1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n' >"$app/vq3.ini"
first=$'caf\xe9.vq3' second=$'\xff tracking.vq3'
cp "$examples/tracking.vq3" "$tmp/$first" && cp "$examples/alarm.vq3" "$tmp/$second"
start_sim --image "$tmp/tracking.bin"
export QUELLMARK_COM1="$port"
(cd "$tmp" && exec "$app/quellmark" "$first" >/dev/null 2>"$tmp/quellmark.err") &
running=$!
pids+=("$running")
recent() { grep -qxF "RecentFile=$tmp/$1"$'\r' "$XDG_CONFIG_HOME/quellmark/quellmark.conf" 2>/dev/null; }
for _ in $(seq 400); do recent "$first" && break; sleep 0.05; done
recent "$first" || fail "the file named at the start was not opened"
timeout 60 "$app/quellmark" "$tmp/$second" || fail "the second start did not hand its file over"
for _ in $(seq 400); do recent "$second" && break; sleep 0.05; done
recent "$second" || fail "the file handed to the running copy was not opened"
kill -TERM "$running"
status=0
wait "$running" || status=$?
[ "$status" -eq 143 ] || fail "quellmark ended by SIGTERM with status $status"
stop_sim
echo "vq3 and quellmark meet every file and output fault with its box and keep the old file"
