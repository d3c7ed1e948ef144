#!/usr/bin/env bash
# File faults through vq3: saves onto a full disk (/dev/full and a file-size limit), into a read-only folder, over
# a read-only file, into a folder that does not exist, over a file another program holds open or has locked, onto a
# FIFO nobody reads; loads of a file that is missing, unreadable or locked, and of what is not a regular file (a
# FIFO with or without a writer, a device). Each gets its file-error box, the old file stays whole and no temporary file is left. Permission cases run as the user
# nobody when the suite runs as root. The desktop program, too, ignores the file-size signal so that its saves fail
# with a box instead of ending it.
set -euo pipefail
vq3=$1
quellmark=$2
examples=$3
tmp=$(mktemp -d)
chmod 755 "$tmp"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/config" XDG_DATA_HOME="$tmp/data"
mkdir -p "$HOME"
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    chmod -R u+rwx "$tmp" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail()
{
    echo "FAIL: $*" >&2
    for f in out err; do
        if [ -s "$tmp/$f" ]; then echo "--- $f" >&2; cat "$tmp/$f" >&2; fi
    done
    exit 1
}

disk_full="The disk that you are trying to use is full.  Please free up some disk space or select another disk."
write_denied="The disk you are using is write protected or the filename that you specified is in use by another \
program.  Please check the disk or file and then try again."
read_only_file="The path you have specified is invalid, or the file already exists and is read only.  Please check \
the path and file and try again."
path_not_found="The path you have specified is invalid. Please check the path and try again."
not_found="The file you have specified can not be found. Please check the name and try again."
read_denied="The filename that you specified is in use by another program. Please check the file and then try again."
not_a_file="The path or filename that you have specified is invalid. Please check the path and file and try again."

# Runs a command as an ordinary user when this runs as root (root passes every permission check).
as_user=()
if [ "$(id -u)" -eq 0 ]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
fi

run()
{
    status=0
    timeout 60 "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    [ "$status" -ne 124 ] || fail "$* did not end"
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
sys.exit(box["title"] != sys.argv[2] or box["text"] != sys.argv[3] or box["icon"] != "warning")
PY
}

# The folder holds exactly the named entries: the old file kept and no temporary file left behind.
expect_entries()
{
    local folder=$1
    shift
    local listed
    listed=$(ls -A "$folder" | sort | tr '\n' ' ')
    [ "$listed" = "$(printf '%s\n' "$@" | sort | tr '\n' ' ')" ] || fail "$folder holds: $listed"
}

"$vq3" compile "$examples/tracking.vq3" -o "$tmp/tracking.stream"
printf 'the old file\r\n' >"$tmp/old.vq3"
save=("$vq3" decode "$tmp/tracking.stream" --json -o)

# A full disk: the device that is always full, and a file-size limit (which must not end the program).
run "${save[@]}" /dev/full
expect_status 2 "save onto /dev/full"
expect_box "Error# 61: Disk Full" "$disk_full"
mkdir "$tmp/limited"
cp "$tmp/old.vq3" "$tmp/limited/a.vq3"
# The limit covers every regular file the program writes, so its answer goes through a pipe.
status=0
limited=$( (ulimit -f 0 && exec timeout 60 "${save[@]}" "$tmp/limited/a.vq3") 2>/dev/null) || status=$?
printf '%s\n' "$limited" >"$tmp/out"
expect_status 2 "save past the file-size limit"
expect_box "Error# 61: Disk Full" "$disk_full"
cmp -s "$tmp/limited/a.vq3" "$tmp/old.vq3" || fail "a save past the file-size limit changed the old file"
expect_entries "$tmp/limited" a.vq3

# The save after a read, onto a full disk.
sim_out="$tmp/sim.out"
tail -c 128 "$tmp/tracking.stream" >"$tmp/tracking.bin"
"$vq3" sim --link "$tmp/port" --image "$tmp/tracking.bin" >"$sim_out" 2>/dev/null &
pids+=("$!")
for _ in $(seq 200); do [ -s "$sim_out" ] && break; sleep 0.05; done
run "$vq3" read --port "$tmp/port" --json -o /dev/full
expect_status 2 "read saved onto /dev/full"
expect_box "Error# 61: Disk Full" "$disk_full"
kill -TERM "${pids[-1]}"
wait "${pids[-1]}" 2>/dev/null || true

# A read-only folder, a read-only file, a folder that does not exist.
mkdir "$tmp/ro"
cp "$tmp/old.vq3" "$tmp/ro/a.vq3"
chmod 555 "$tmp/ro"
chmod 666 "$tmp/ro/a.vq3"
run "${as_user[@]}" "${save[@]}" "$tmp/ro/a.vq3"
expect_status 2 "save into a read-only folder"
expect_box "Error# 70: Permission Denied" "$write_denied"
cmp -s "$tmp/ro/a.vq3" "$tmp/old.vq3" || fail "a save into a read-only folder changed the old file"
expect_entries "$tmp/ro" a.vq3
mkdir -m 777 "$tmp/rw"
cp "$tmp/old.vq3" "$tmp/rw/a.vq3"
chmod 444 "$tmp/rw/a.vq3"
run "${as_user[@]}" "${save[@]}" "$tmp/rw/a.vq3"
expect_status 2 "save over a read-only file"
expect_box "Error# 75: Path/File Access Error" "$read_only_file"
cmp -s "$tmp/rw/a.vq3" "$tmp/old.vq3" || fail "a save over a read-only file changed it"
expect_entries "$tmp/rw" a.vq3
run "${save[@]}" "$tmp/no-such-folder/a.vq3"
expect_status 2 "save into a missing folder"
expect_box "Error# 76: Path Not Found" "$path_not_found"
[ ! -e "$tmp/no-such-folder" ] || fail "a save into a missing folder made the folder"

# A file another program holds open: the save replaces it as a whole, and the other program goes on reading
# the complete old file through its descriptor.
mkdir "$tmp/held"
cp "$tmp/old.vq3" "$tmp/held/a.vq3"
sleep 600 <"$tmp/held/a.vq3" &
holder=$!
pids+=("$holder")
run "${save[@]}" "$tmp/held/a.vq3"
expect_status 0 "save over a file held open"
"$vq3" decode "$tmp/tracking.stream" | cmp -s - "$tmp/held/a.vq3" || fail "the save over a held file is not complete"
cmp -s "/proc/$holder/fd/0" "$tmp/old.vq3" || fail "the program holding the old file sees it changed"
expect_entries "$tmp/held" a.vq3
run "$vq3" show "$tmp/held/a.vq3" --json
expect_status 0 "load of a file held open"
kill "$holder"

# A file another program has locked while it writes it: neither replaced nor read half-written.
mkdir "$tmp/locked"
cp "$tmp/old.vq3" "$tmp/locked/a.vq3"
for lock in flock fcntl; do
    rm -f "$tmp/locked.ready"
    python3 - "$lock" "$tmp/locked/a.vq3" "$tmp/locked.ready" <<'PY' &
import fcntl, os, sys, time
fd = os.open(sys.argv[2], os.O_RDWR)
if sys.argv[1] == "flock":
    fcntl.flock(fd, fcntl.LOCK_EX)
else:
    fcntl.lockf(fd, fcntl.LOCK_EX)
open(sys.argv[3], "w").close()
time.sleep(600)
PY
    locker=$!
    pids+=("$locker")
    for _ in $(seq 200); do [ -e "$tmp/locked.ready" ] && break; sleep 0.05; done
    [ -e "$tmp/locked.ready" ] || fail "the $lock lock was not taken"
    run "${save[@]}" "$tmp/locked/a.vq3"
    expect_status 2 "save over a file with an $lock lock"
    expect_box "Error# 70: Permission Denied" "$write_denied"
    cmp -s "$tmp/locked/a.vq3" "$tmp/old.vq3" || fail "a save over a locked file ($lock) changed it"
    expect_entries "$tmp/locked" a.vq3
    run "$vq3" show "$tmp/locked/a.vq3" --json
    expect_status 2 "load of a file with an $lock lock"
    expect_box "Error# 70: Permission Denied" "$read_denied"
    kill "$locker"
    wait "$locker" 2>/dev/null || true
done

# Loads: a missing file, a missing folder, an unreadable file; FIFOs with nobody at the other end or with a writer
# that stays open, a device that never ends: what is not a regular file is refused without waiting.
run "$vq3" show "$tmp/missing.vq3" --json
expect_status 2 "load of a missing file"
expect_box "Error# 53: File Not Found" "$not_found"
run "$vq3" show "$tmp/no-such-folder/a.vq3" --json
expect_status 2 "load from a missing folder"
expect_box "Error# 76: Path Not Found" "$path_not_found"
cp "$examples/beacon.vq3" "$tmp/rw/secret.vq3"
chmod 000 "$tmp/rw/secret.vq3"
run "${as_user[@]}" "$vq3" show "$tmp/rw/secret.vq3" --json
expect_status 2 "load of an unreadable file"
expect_box "Error# 70: Permission Denied" "$read_denied"
mkfifo "$tmp/unwritten.fifo" "$tmp/unread.fifo" "$tmp/held.fifo"
exec 3<>"$tmp/held.fifo"
printf '3\r\n' >&3
for source in "$tmp/unwritten.fifo" "$tmp/held.fifo" /dev/zero; do
    run "$vq3" show "$source" --json
    expect_status 2 "load of $source"
    expect_box "Error# 75: Path/File Access Error" "$not_a_file"
done
exec 3<&-
run "$vq3" decode "$tmp/unwritten.fifo"
expect_status 2 "decode of a FIFO"
grep -qxF "Error: Cannot read $tmp/unwritten.fifo: It is a FIFO, not a regular file." "$tmp/err" ||
    fail "decode of a FIFO does not say what it is"
run "${save[@]}" "$tmp/unread.fifo"
expect_status 2 "save onto a FIFO nobody reads"
expect_box "Error# 57: Device I/O Error" \
    "An error occured while trying to write to the disk. Please check the disk and try again."

# The desktop program ignores the file-size signal from its start.
export XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=offscreen
mkdir -m 700 "$XDG_RUNTIME_DIR"
"$quellmark" >/dev/null 2>&1 &
desktop=$!
pids+=("$desktop")
ignored=""
for _ in $(seq 200); do
    mask=$(awk '/^SigIgn:/ { print $2 }' "/proc/$desktop/status" 2>/dev/null || true)
    if [ -n "$mask" ] && (((16#$mask >> 24) & 1)); then
        ignored=yes
        break
    fi
    kill -0 "$desktop" 2>/dev/null || break
    sleep 0.05
done
kill -KILL "$desktop" 2>/dev/null || true
[ -n "$ignored" ] || fail "quellmark does not ignore SIGXFSZ"

echo "vq3 and quellmark meet every file fault with its box and keep the old file"
