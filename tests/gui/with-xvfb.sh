#!/usr/bin/env bash
# Runs a command on a private virtual screen with a window manager, as on a person's desktop:
#   with-xvfb.sh WIDTHxHEIGHT COMMAND [ARGS...]
# Xvfb picks a free display itself (-displayfd), so parallel runs never meet; openbox gives the windows their
# frames, title bars and stacking. The command sees DISPLAY, the xcb platform and a private runtime folder.
set -euo pipefail
size=${1:?WIDTHxHEIGHT}
shift

for tool in Xvfb openbox xprop; do
    command -v "$tool" >/dev/null || { echo "with-xvfb.sh: $tool is missing (scripts/install-deps installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d)
xvfb=""
wm=""
cleanup()
{
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [ -s "$tmp/display" ] && break
    kill -0 "$xvfb" 2>/dev/null || { cat "$tmp/xvfb.log" >&2; exit 1; }
    sleep 0.05
done
[ -s "$tmp/display" ] || { echo "with-xvfb.sh: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n 1 "$tmp/display")"

HOME="$tmp" openbox --sm-disable >"$tmp/wm.log" 2>&1 &
wm=$!
# The window manager is ready once it has announced what it supports on the root window (up to 30 s on a busy
# machine); tests of frames and stacking mean nothing without it.
ready=""
for _ in $(seq 600); do
    if [[ $(xprop -root _NET_SUPPORTED 2>/dev/null) == *_NET_ACTIVE_WINDOW* ]]; then
        ready=yes
        break
    fi
    kill -0 "$wm" 2>/dev/null || break
    sleep 0.05
done
[ -n "$ready" ] || { echo "with-xvfb.sh: the window manager did not start" >&2; cat "$tmp/wm.log" >&2; exit 1; }

mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
