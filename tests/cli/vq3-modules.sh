#!/usr/bin/env bash
# vq3's commands on files and its simulated unit load no Qt; the serial-port commands load the link module from
# vq3's folder or from lib/quellmark beside an installed bin; a vq3 without its modules still does everything on
# files and says with exit 2 which module a serial-port command or the report cannot load.
vq3=$1
examples=$2
build=$3
configured=$4
source "$(dirname "$0")/vq3-lib.sh"
if compgen -G "$configured/libquellmark-*.so" >/dev/null; then
    echo "SKIP: modules are installed in $configured, where every copy of vq3 would find them"
    exit 77
fi
images nmea
printf 'not a configuration\r\n' >"$tmp/bad.vq3"
prefix=(env LD_DEBUG=libs)
for command in "0 compile $examples/tracking.vq3 --set TrkMyCall=N1ABC --hex" "0 decode $tmp/nmea.stream" \
    "0 show $examples/beacon.vq3 --json" "1 diff $examples/nmea.vq3 $examples/tracking.vq3" "0 backups" \
    "2 compile $tmp/bad.vq3"; do
    expect $command
    ! grep -q libQt6 "$tmp/err" || fail "vq3 $command loaded Qt"
done
expect 0 ports
grep -q libquellmark-link.so "$tmp/err" && grep -q libQt6SerialPort "$tmp/err" || fail "ports without its module"
prefix=()
start_sim
! grep -q libQt6 "/proc/$sim/maps" || fail "vq3 sim has Qt mapped"
stop_sim

mkdir "$tmp/alone"
cp "$vq3" "$tmp/alone/vq3"
"$vq3" compile "$examples/tracking.vq3" -o "$tmp/full.bin"
vq3="$tmp/alone/vq3"
expect 0 compile "$examples/tracking.vq3" -o "$tmp/alone.bin"
cmp -s "$tmp/alone.bin" "$tmp/full.bin" || fail "compile without the modules wrote other bytes"
missing="cannot load its serial-port module: $tmp/alone/libquellmark-link.so: cannot open shared object file"
for command in "identify --port /dev/null" "read --port COM1" "write $examples/beacon.vq3 --port COM1" ports \
    "diff $examples/nmea.vq3 unit:COM1"; do
    expect 2 $command
    grep -qF "vq3 ${command%% *} $missing" "$tmp/err" && [ ! -s "$tmp/out" ] || fail "$command without its module"
done
expect 2 report "$examples/nmea.vq3" -o "$tmp/alone.pdf"
grep -qF "vq3 report cannot load its PDF module" "$tmp/err" && [ ! -e "$tmp/alone.pdf" ] || fail "report alone"

cmake --install "$build" --prefix "$tmp/prefix" >/dev/null || fail "cmake --install"
vq3="$tmp/prefix/bin/vq3"
expect 0 ports --json
json '"com" in j'
expect 0 report "$examples/tracking.vq3" -o "$tmp/installed.pdf"
echo "vq3 modules: all checks passed"
