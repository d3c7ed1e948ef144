#!/usr/bin/env bash
# vq3 sim through a real pseudo-terminal: probe echo, the 131-byte reply, an echo-paced download that is saved,
# line-rate pacing of a reply, and a clean stop on SIGTERM that removes the link.
set -euo pipefail
vq3=$1
tmp=$(mktemp -d)
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do kill -KILL "$pid" 2>/dev/null || true; done
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; [ -f "$tmp/err" ] && cat "$tmp/err" >&2; exit 1; }

start_sim()
{
    "$vq3" sim "$@" >"$tmp/out" 2>"$tmp/err" &
    sim=$!
    pids+=("$sim")
    for _ in $(seq 100); do
        [ "$(wc -l <"$tmp/out")" -ge 1 ] && break
        kill -0 "$sim" 2>/dev/null || fail "vq3 sim $* exited before printing its terminal"
        sleep 0.05
    done
    tty=$(head -n 1 "$tmp/out")
    [[ "$tty" == /dev/* ]] || fail "first line is not a device path: '$tty'"
}

stop_sim()
{
    kill -TERM "$sim"
    for _ in $(seq 100); do
        kill -0 "$sim" 2>/dev/null || break
        sleep 0.05
    done
    kill -0 "$sim" 2>/dev/null && fail "vq3 sim still runs 5 s after SIGTERM"
    status=0
    wait "$sim" || status=$?
    [ "$status" -eq 0 ] || fail "vq3 sim exited with $status after SIGTERM"
}

cat >"$tmp/talk.py" <<'EOF'
import os, select, sys, time, tty

CHARACTER = 10 / 4800

def open_port(path):
    fd = os.open(path, os.O_RDWR | os.O_NOCTTY)
    tty.setraw(fd)
    return fd

def read_exact(fd, count, timeout=3.0):
    deadline = time.monotonic() + timeout
    data = b""
    while len(data) < count:
        left = deadline - time.monotonic()
        if left <= 0:
            break
        ready, _, _ = select.select([fd], [], [], left)
        if ready:
            data += os.read(fd, count - len(data))
    return data

def expect(what, actual, expected):
    if actual != expected:
        sys.exit(f"{what}: got {actual.hex(' ')}, expected {expected.hex(' ')}")

def expect_silence(fd, what):
    extra = read_exact(fd, 1, timeout=0.3)
    if extra:
        sys.exit(f"{what}: unexpected byte {extra.hex()}")

def reply_and_download(port, image_file, new_image_file):
    fd = open_port(port)
    image = open(image_file, "rb").read()[-128:]
    new_image = open(new_image_file, "rb").read()
    os.write(fd, b"\xaa")
    expect("probe echo", read_exact(fd, 1), b"\xaa")
    os.write(fd, b"U")
    expect("reply", read_exact(fd, 131), b"U\x01\x02" + image)
    expect_silence(fd, "after the reply")
    for index, byte in enumerate(b"D" + new_image):
        os.write(fd, bytes([byte]))
        expect(f"echo {index + 1}", read_exact(fd, 1), bytes([byte]))
    expect_silence(fd, "after the download")
    os.write(fd, b"U")
    expect("reply after the download", read_exact(fd, 131), b"U\x01\x02" + new_image)

def line_rate(port, image_file, model, firmware):
    fd = open_port(port)
    image = open(image_file, "rb").read()[-128:]
    start = time.monotonic()
    os.write(fd, b"\xaa")
    expect("probe echo", read_exact(fd, 1), b"\xaa")
    echo_time = time.monotonic() - start
    if echo_time < 2 * CHARACTER:
        sys.exit(f"probe echo after {echo_time * 1000:.2f} ms, under two character times")
    start = time.monotonic()
    os.write(fd, b"U")
    expect("reply", read_exact(fd, 131), bytes([ord("U"), model, firmware]) + image)
    reply_time = time.monotonic() - start
    if reply_time < 131 * CHARACTER:
        sys.exit(f"131-byte reply after {reply_time * 1000:.1f} ms, under 131 character times")

def images(folder):
    image = bytes((i * 37 + 11) % 256 for i in range(128))
    open(os.path.join(folder, "image.bin"), "wb").write(image)
    open(os.path.join(folder, "stream.bin"), "wb").write(b"D" + image)
    open(os.path.join(folder, "new.bin"), "wb").write(b"E\0\xaaDU" + bytes((i * 13 + 5) % 256 for i in range(123)))

if sys.argv[1] == "images":
    images(sys.argv[2])
elif sys.argv[1] == "reply-and-download":
    reply_and_download(*sys.argv[2:5])
else:
    line_rate(sys.argv[2], sys.argv[3], int(sys.argv[4]), int(sys.argv[5]))
EOF

python3 "$tmp/talk.py" images "$tmp"

printf 'short' >"$tmp/bad.bin"
status=0
timeout 10 "$vq3" sim --image "$tmp/bad.bin" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "a 5-byte image gives exit $status, not 2"

ln -s /nonexistent "$tmp/port"
start_sim --link "$tmp/port" --model 1 --firmware 2 --image "$tmp/image.bin" --save "$tmp/saved.bin"
[ "$(readlink "$tmp/port")" = "$tty" ] || fail "the link does not point at $tty"
timeout 30 python3 "$tmp/talk.py" reply-and-download "$tmp/port" "$tmp/image.bin" "$tmp/new.bin" ||
    fail "exchange with the simulated unit"
cmp "$tmp/saved.bin" "$tmp/new.bin" || fail "the saved configuration differs from the download"
stop_sim
if [ -e "$tmp/port" ] || [ -L "$tmp/port" ]; then fail "the link is still there after SIGTERM"; fi

start_sim --line-rate --model 0 --firmware 7 --image "$tmp/stream.bin"
timeout 30 python3 "$tmp/talk.py" line-rate "$tty" "$tmp/image.bin" 0 7 || fail "line-rate exchange"
stop_sim
echo "vq3 sim answers on its pseudo-terminal"
