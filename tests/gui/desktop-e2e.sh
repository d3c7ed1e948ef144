#!/usr/bin/env bash
# The desktop program used end to end as a person uses it: quellmark started on a simulated unit with an
# initialization file that needs no first-run answers, Mode > Tracking chosen from the menu, keys typed into the
# middle of My Call and of a Special Path (the windows are drawn again between the keys, as the probe does every
# 500 ms), File > Save Configuration File As with a typed path, and the saved file's lines read back.
# Runs on the screen that with-xvfb.sh provides:  desktop-e2e.sh QUELLMARK VQ3
# E2E_SHOT=FILE.png keeps a picture of the screen when a step fails (with imagemagick's import).
set -euo pipefail
quellmark=${1:?quellmark}
vq3=${2:?vq3}
for tool in xdotool xwininfo; do
    command -v "$tool" >/dev/null || { echo "desktop-e2e.sh: $tool is missing (scripts/install-deps installs it)" >&2; exit 1; }
done

tmp=$(mktemp -d)
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*" >&2
    if [ -n "${E2E_SHOT:-}" ]; then import -window root "$E2E_SHOT"; fi
    for log in sim.err quellmark.err; do
        if [ -s "$tmp/$log" ]; then echo "--- $log" >&2; tail -n 20 "$tmp/$log" >&2; fi
    done
    exit 1
}

# Waits (at most 20 s) for a visible window whose name matches, and prints its id.
window_named()
{
    timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1
}

# Whether one of the program's menus is open: a pop-up window of it (one the window manager does not frame) on show.
menu_shown()
{
    local id info
    for id in $(xwininfo -root -children | awk '/\("quellmark" "Quellmark"\)/ { print $1 }'); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        [[ $info == *"Map State: IsViewable"* && $info == *"Override Redirect State: yes"* ]] && return 0
    done
    return 1
}

# Opens a menu of the menu bar by its Alt key and waits (at most 10 s) until it shows.
open_menu()
{
    xdotool key "alt+$1"
    for _ in $(seq 200); do
        menu_shown && return 0
        sleep 0.05
    done
    fail "the menu of Alt+$1 did not open"
}

mkdir -p "$tmp/app" "$tmp/home" "$tmp/work"
cp "$quellmark" "$vq3" "$tmp/app/"
printf '1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n' >"$tmp/app/vq3.ini"

"$tmp/app/vq3" sim --link "$tmp/port" >"$tmp/sim.out" 2>"$tmp/sim.err" &
pids+=($!)
for _ in $(seq 200); do
    [ -s "$tmp/sim.out" ] && break
    sleep 0.05
done
[ -s "$tmp/sim.out" ] || fail "the simulated unit did not start"

(cd "$tmp/work" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.local/share" \
    XDG_CACHE_HOME="$tmp/home/.cache" QUELLMARK_COM1="$tmp/port" "$tmp/app/quellmark" >"$tmp/quellmark.out" \
    2>"$tmp/quellmark.err") &
quellmark_pid=$!
pids+=("$quellmark_pid")

# The caption names the unit once it has answered and been identified.
main=$(window_named 'on COM1$') || fail "no main window with an identified unit"
[ -n "$main" ] || fail "no main window with an identified unit"
xdotool windowactivate --sync "$main"

# Mode > Tracking: the menu opens as a window of its own, then its item's key.
open_menu m
xdotool key r

# My Call has the focus in the new window: "N0CALL", the cursor moved back into it, a redraw, then two keys.
xdotool key --delay 60 End BackSpace BackSpace Left Left
xdotool sleep 0.6
xdotool type --delay 60 xy
# To Call, then Special Path 1: typed, the cursor moved into it, a redraw, two more keys.
xdotool key --delay 60 Tab Tab
xdotool type --delay 60 wide2-1
xdotool key --delay 60 End Left Left Left
xdotool sleep 0.6
xdotool type --delay 60 ab

# File > Save Configuration File As, the path typed into its dialog.
saved="$tmp/work/tracking.vq3"
open_menu f
xdotool key s
dialog=$(window_named '^Save Configuration File As$') || fail "no save dialog"
[ -n "$dialog" ] || fail "no save dialog"
xdotool type --delay 20 "$saved"
xdotool key Return
for _ in $(seq 200); do
    [ -s "$saved" ] && break
    sleep 0.05
done
[ -s "$saved" ] || fail "nothing was saved"

mapfile -t lines < <(tr -d '\r' <"$saved")
expected=("3" "0" "0" "0" "1" "0" "0" "N0XYCA" "APRS" "WIDEAB2-1" "" "" "")
for i in "${!expected[@]}"; do
    [ "${lines[$i]}" = "${expected[$i]}" ] ||
        fail "line $((i + 1)) of the saved file is '${lines[$i]}', not '${expected[$i]}'"
done
[ "${#lines[@]}" -eq 117 ] || fail "the saved file has ${#lines[@]} lines, not 117"
[ "$(tail -c 2 "$saved" | od -An -tx1 | tr -d ' ')" = "0d0a" ] || fail "the saved file does not end in CR LF"

# File > Exit ends the program.
open_menu f
xdotool key x
for _ in $(seq 200); do
    kill -0 "$quellmark_pid" 2>/dev/null || break
    sleep 0.05
done
if kill -0 "$quellmark_pid" 2>/dev/null; then fail "File > Exit did not end the program"; fi
echo "typed into the middle of My Call and Special Path 1, saved and read back"
