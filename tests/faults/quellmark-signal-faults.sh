#!/usr/bin/env bash
# The real quellmark ended by SIGTERM, SIGHUP or SIGINT in the middle of a write (Ctrl+D) to a unit paced at the line
# rate, on the screen with-xvfb.sh provides: the unit's log ends the image bytes with the abort burst (128 zero bytes
# and "E") and the closing "E", the program ends with 128 + the signal, and the next open of the device by the same
# ordinary user succeeds. Outside a transfer a signal ends the program as File > Exit does, with its "E"; during the
# first start's questions it ends it too, and nothing is kept.
#   quellmark-signal-faults.sh QUELLMARK VQ3 EXAMPLES
set -euo pipefail
quellmark=${1:?quellmark}
vq3=${2:?vq3}
examples=${3:?examples}
tmp=$(mktemp -d)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; tail -n 20 "$tmp"/*.err >&2 2>/dev/null || true; exit 1; }
# Polls (at most 20 s) until the command succeeds.
until_true() { for _ in $(seq 400); do "$@" && return 0; sleep 0.05; done; return 1; }
window_named() { timeout 20 xdotool search --sync --onlyvisible --name "$1" | head -n 1; }
received() { python3 -c 'import sys; print(bytes(int(l.split()[1], 16) for l in open(sys.argv[1])).hex())' "$tmp/unit.log"; }
burst="$(printf '00%.0s' $(seq 128))4545"

mkdir -p "$tmp/app" "$tmp/home"
cp "$quellmark" "$tmp/app/"
printf '1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n' >"$tmp/app/vq3.ini"
cp "$examples/alarm.vq3" "$tmp/home/"

start()
{
    "$vq3" sim --line-rate "$@" --link "$tmp/port" --log "$tmp/unit.log" >"$tmp/sim.out" 2>"$tmp/sim.err" &
    sim=$!
    pids+=("$sim")
    until_true test -s "$tmp/sim.out" || fail "the simulated unit did not start"
    (cd "$tmp/home" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/.config" XDG_DATA_HOME="$tmp/home/.data" \
        QUELLMARK_COM1="$tmp/port" "$tmp/app/quellmark" alarm.vq3 >"$tmp/quellmark.out" 2>"$tmp/quellmark.err") &
    program=$!
    pids+=("$program")
    main=$(window_named '^alarm\.vq3 - .* on COM1$') && [ -n "$main" ] || fail "no main window with the file and the unit"
}
# ended SIGNAL: the program ends with 128 + the signal, and the device opens again for this user.
ended()
{
    local status=0
    wait "$program" || status=$?
    [ "$status" -eq $((128 + $(kill -l "$1"))) ] || fail "quellmark ended by SIG$1 with status $status"
    timeout 60 "$vq3" identify --port "$tmp/port" >"$tmp/identify.out" 2>"$tmp/identify.err" ||
        fail "the device did not open again after SIG$1"
    kill -TERM "$sim"
    wait "$sim" 2>/dev/null || true
}

for signal in TERM HUP INT; do
    start --echo-delay 30
    xdotool windowactivate --sync "$main"
    xdotool key ctrl+d
    # The signal comes once the unit has taken "D" and 20 image bytes.
    until_true eval '[ "$(awk '\''$2 == "44" { d = 1 } d { n++ } END { print n + 0 }'\'' "$tmp/unit.log")" -gt 20 ]' ||
        fail "the write did not start"
    kill -"$signal" "$program"
    ended "$signal"
    [[ "$(received)" == *44*"$burst"* ]] || fail "the unit did not receive the burst and E after SIG$signal"
done

start
kill -TERM "$program"
ended TERM
[[ "$(received)" != *00000000* && "$(received)" == *45aa*55* ]] || fail "the unit's log after SIGTERM while probing"
# The first start asks for the serial port: a signal ends the program there, without an answer kept.
mkdir -p "$tmp/first"
cp "$quellmark" "$tmp/first/"
(cd "$tmp/home" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/first/.config" XDG_DATA_HOME="$tmp/first/.data" \
    QUELLMARK_COM1="$tmp/port" "$tmp/first/quellmark" >>"$tmp/quellmark.out" 2>>"$tmp/quellmark.err") &
program=$!
pids+=("$program")
window_named '^Serial Port Selection$' >/dev/null || fail "no question for the serial port at the first start"
kill -TERM "$program"
status=0
timeout 20 tail --pid="$program" -f /dev/null || fail "quellmark did not end on SIGTERM during the first start's question"
wait "$program" || status=$?
[ "$status" -eq 143 ] || fail "quellmark ended by SIGTERM during the first start with status $status"
for ini in "$tmp/first/vq3.ini" "$tmp/first/.config/quellmark/vq3.ini"; do
    [ ! -e "$ini" ] || [ "$(head -n 1 "$ini")" = $'0\r' ] || fail "an answer was kept in $ini"
done
echo "quellmark breaks a write off properly when a signal ends it and leaves the device free"
