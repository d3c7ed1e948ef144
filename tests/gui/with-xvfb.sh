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
stop_screen()
{
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
    wm=""
    xvfb=""
}
trap 'stop_screen; rm -rf "$tmp"' EXIT

# Starts Xvfb and openbox; fails (status 1) when either does not come up. Clients are started only once the
# server answers on its display, and the window manager is ready once it has announced what it supports on
# the root window (up to 30 s on a busy machine); tests of frames and stacking mean nothing without it.
start_screen()
{
    rm -f "$tmp/display"
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    xvfb=$!
    for _ in $(seq 200); do
        [ -s "$tmp/display" ] && break
        kill -0 "$xvfb" 2>/dev/null || return 1
        sleep 0.05
    done
    [ -s "$tmp/display" ] || return 1
    export DISPLAY=":$(head -n 1 "$tmp/display")"
    for _ in $(seq 200); do
        xprop -root >/dev/null 2>&1 && break
        kill -0 "$xvfb" 2>/dev/null || return 1
        sleep 0.05
    done

    HOME="$tmp" openbox --sm-disable >"$tmp/wm.log" 2>&1 &
    wm=$!
    for _ in $(seq 600); do
        [[ $(xprop -root _NET_SUPPORTED 2>/dev/null) == *_NET_ACTIVE_WINDOW* ]] && return 0
        kill -0 "$wm" 2>/dev/null || return 1
        kill -0 "$xvfb" 2>/dev/null || return 1
        sleep 0.05
    done
    return 1
}

# A server that dies or refuses its first client on a loaded machine gets a fresh display, up to three times.
started=""
for attempt in 1 2 3; do
    if start_screen; then
        started=yes
        break
    fi
    echo "with-xvfb.sh: the screen did not start (attempt $attempt)" >&2
    stop_screen
done
if [ -z "$started" ]; then
    echo "with-xvfb.sh: the window manager did not start" >&2
    cat "$tmp/xvfb.log" "$tmp/wm.log" >&2 2>/dev/null || true
    exit 1
fi

mkdir -m 700 "$tmp/runtime"
export XDG_RUNTIME_DIR="$tmp/runtime" QT_QPA_PLATFORM=xcb
status=0
"$@" || status=$?
exit "$status"
