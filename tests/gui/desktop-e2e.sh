#!/usr/bin/env bash
# The real quellmark binary used as a person uses it, on the screen with-xvfb.sh provides, against `vq3 sim`:
# Mode > Tracking from the menu, keys typed into the middle of My Call and of a Special Path with redraws between
# them, File > Save Configuration File As with a typed path, the saved lines read back, File > Exit; a new start
# with that file named opens it.
#   desktop-e2e.sh QUELLMARK VQ3
set -euo pipefail
quellmark=${1:?quellmark}
vq3=${2:?vq3}
tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; tail -n 20 "$tmp"/*.err >&2 2>/dev/null || true; exit 1; }
# Polls (at most 10 s) until the command succeeds.
until_true() { for _ in $(seq 200); do "$@" && return 0; sleep 0.05; done; return 1; }
window_named() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
# A menu is open when a pop-up of the program (a window the window manager does not frame) is on show.
menu_shown()
{
    local id info
    for id in $(xwininfo -root -children | awk '/\("quellmark" "Quellmark"\)/ { print $1 }'); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        [[ $info == *"IsViewable"* && $info == *"Override Redirect State: yes"* ]] && return 0
    done
    return 1
}
open_menu() { xdotool key "alt+$1"; until_true menu_shown || fail "the menu of Alt+$1 did not open"; }

mkdir -p "$tmp/app" "$tmp/home"
cp "$quellmark" "$vq3" "$tmp/app/"
printf '1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n' >"$tmp/app/vq3.ini"
"$tmp/app/vq3" sim --link "$tmp/port" >"$tmp/sim.out" 2>"$tmp/sim.err" &
pids+=($!)
until_true test -s "$tmp/sim.out" || fail "the simulated unit did not start"
(cd "$tmp/home" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.data" \
    QUELLMARK_COM1="$tmp/port" "$tmp/app/quellmark" >"$tmp/quellmark.out" 2>"$tmp/quellmark.err") &
quellmark_pid=$!
pids+=("$quellmark_pid")

main=$(window_named 'on COM1$') && [ -n "$main" ] || fail "no main window with an identified unit"
xdotool windowactivate --sync "$main"
open_menu m
xdotool key r
# My Call has the focus: "N0CALL", the cursor moved back, a redraw (the probe redraws every 500 ms), two keys.
xdotool key --delay 60 End BackSpace BackSpace Left Left sleep 0.6 type --delay 60 xy
xdotool key --delay 60 Tab Tab type --delay 60 wide2-1
xdotool key --delay 60 End Left Left Left sleep 0.6 type --delay 60 ab

saved="$tmp/home/tracking.vq3"
open_menu f
xdotool key s
dialog=$(window_named '^Save Configuration File As$') && [ -n "$dialog" ] || fail "no save dialog"
xdotool type --delay 20 "$saved"
xdotool key Return
until_true test -s "$saved" || fail "nothing was saved"
mapfile -t lines < <(tr -d '\r' <"$saved")
[ "${lines[*]:0:10}" = "3 0 0 0 1 0 0 N0XYCA APRS WIDEAB2-1" ] || fail "the saved file begins '${lines[*]:0:10}'"
[ "${#lines[@]}" -eq 117 ] || fail "the saved file has ${#lines[@]} lines, not 117"
[ "$(tail -c 2 "$saved" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || fail "the saved file does not end in CR LF"

open_menu f
xdotool key x
until_true eval '! kill -0 "$quellmark_pid" 2>/dev/null' || fail "File > Exit did not end the program"

(cd "$tmp/home" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.data" \
    QUELLMARK_COM1="$tmp/port" "$tmp/app/quellmark" tracking.vq3 >>"$tmp/quellmark.out" 2>>"$tmp/quellmark.err") &
pids+=($!)
window_named '^tracking\.vq3 - ' >/dev/null || fail "the file named at start was not opened"
