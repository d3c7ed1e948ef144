#!/usr/bin/env bash
# The real quellmark binary read as a screen reader reads it: on the screen with-xvfb.sh provides, against
# `vq3 sim`, on an accessibility bus of its own; screen-reader.py walks its tree over AT-SPI.
#   screen-reader.sh QUELLMARK VQ3
set -euo pipefail
quellmark=${1:?quellmark}
vq3=${2:?vq3}
python=/usr/bin/python3
[ -x "$python" ] || python=python3
"$python" -c 'import pyatspi' 2>/dev/null ||
    { echo "screen-reader.sh: python3-pyatspi is missing (scripts/install-deps installs it)" >&2; exit 1; }
command -v dbus-run-session >/dev/null ||
    { echo "screen-reader.sh: dbus-run-session is missing (scripts/install-deps installs it)" >&2; exit 1; }

# A session bus of its own, so the program and the reader meet on their own accessibility bus.
if [ -z "${QM_SCREEN_READER_BUS:-}" ]; then
    exec env QM_SCREEN_READER_BUS=1 dbus-run-session -- "$0" "$@"
fi

tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; tail -n 20 "$tmp"/*.err >&2 2>/dev/null || true; exit 1; }
until_true() { for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done; return 1; }

mkdir -p "$tmp/app" "$tmp/home"
cp "$quellmark" "$vq3" "$tmp/app/"
printf '1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n' >"$tmp/app/vq3.ini"
"$tmp/app/vq3" sim --link "$tmp/port" >"$tmp/sim.out" 2>"$tmp/sim.err" &
unit=$!
pids+=("$unit")
until_true test -s "$tmp/sim.out" || fail "the simulated unit did not start"
(cd "$tmp/home" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.data" \
    QUELLMARK_COM1="$tmp/port" QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 \
    "$tmp/app/quellmark" >"$tmp/quellmark.out" 2>"$tmp/quellmark.err") &
pids+=($!)

# The reader freezes the unit and lets it go again to hear the status panel change.
QM_UNIT_PID=$unit "$python" "$(dirname "$0")/screen-reader.py" || fail "the screen reader's reading"
