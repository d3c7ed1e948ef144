#!/usr/bin/env bash
# vq3 and its modules: the commands on files (compile, decode, show, diff of files, backups, --set, sim) load no
# Qt library; the commands that open a serial port load the link module from vq3's folder or from lib/quellmark
# beside vq3's bin; a vq3 without its modules still runs every command on files and says clearly, with exit 2,
# which module a serial-port command or the report cannot load.
set -uo pipefail
vq3=$1
examples=$2
build=$3
configured_modules=$4
source "$(dirname "$0")/sim-session.sh"

# A module installed where the build was configured to install it would be found by every copy of vq3.
if [ -e "$configured_modules/libquellmark-link.so" ] || [ -e "$configured_modules/libquellmark-report.so" ]; then
    echo "SKIP: modules are installed in $configured_modules"
    exit 77
fi

# Runs vq3 with LD_DEBUG=libs and fails when a Qt library was loaded; the status goes to status.
run_without_qt()
{
    status=0
    LD_DEBUG=libs "$vq3" "$@" >"$tmp/out" 2>"$tmp/libs" || status=$?
    if grep -q 'libQt6' "$tmp/libs"; then
        fail "vq3 $* loaded Qt: $(grep -o 'libQt6[A-Za-z]*' "$tmp/libs" | sort -u | tr '\n' ' ')"
    fi
    [ "$status" -eq "$expected" ] || fail "vq3 $*: exit $status, expected $expected"
}

"$vq3" compile "$examples/nmea.vq3" -o "$tmp/nmea.stream" || fail "compile"
printf 'not a configuration\r\n' >"$tmp/bad.vq3"
export XDG_DATA_HOME="$tmp/data"
expected=0
run_without_qt compile "$examples/tracking.vq3" -o "$tmp/out.bin"
run_without_qt compile "$examples/tracking.vq3" --set TrkMyCall=N1ABC --hex
run_without_qt decode "$tmp/nmea.stream"
run_without_qt show "$examples/beacon.vq3" --json
run_without_qt diff "$examples/nmea.vq3" "$examples/nmea.vq3"
run_without_qt backups
run_without_qt --help
expected=2
run_without_qt compile "$tmp/bad.vq3"
expected=1
run_without_qt diff "$examples/nmea.vq3" "$examples/tracking.vq3"

# The simulated unit runs without Qt as well.
start_sim
grep -q 'libQt6' "/proc/$sim/maps" && fail "vq3 sim has Qt mapped: $(grep -o 'libQt6[A-Za-z]*' "/proc/$sim/maps" | sort -u)"
stop_sim

# The check sees Qt where it is loaded: the serial-port commands load it with the link module.
LD_DEBUG=libs "$vq3" ports >"$tmp/out" 2>"$tmp/libs" || fail "vq3 ports: exit $?"
grep -q 'libquellmark-link.so' "$tmp/libs" || fail "vq3 ports did not load the link module"
grep -q 'libQt6SerialPort' "$tmp/libs" || fail "vq3 ports did not load QtSerialPort"

# A vq3 alone in a folder, without its modules.
mkdir "$tmp/alone"
cp "$vq3" "$tmp/alone/vq3"
full_vq3=$vq3
vq3="$tmp/alone/vq3"
run compile "$examples/tracking.vq3" -o "$tmp/alone.bin"
[ "$status" -eq 0 ] || fail "compile without the modules: exit $status"
"$full_vq3" compile "$examples/tracking.vq3" -o "$tmp/full.bin"
cmp -s "$tmp/alone.bin" "$tmp/full.bin" || fail "compile without the modules wrote other bytes"
run show "$examples/nmea.vq3"
[ "$status" -eq 0 ] || fail "show without the modules: exit $status"

missing="cannot load its serial-port module: $tmp/alone/libquellmark-link.so: cannot open shared object file"
for command in "identify --port /dev/null" "read --port COM1" "write $examples/beacon.vq3 --port COM1" "ports"; do
    run $command
    [ "$status" -eq 2 ] || fail "$command without the link module: exit $status, expected 2"
    name=${command%% *}
    grep -qF "Error: vq3 $name $missing" "$tmp/err" || fail "$command without the link module: $(cat "$tmp/err")"
    [ -s "$tmp/out" ] && fail "$command without the link module printed: $(cat "$tmp/out")"
    run $command --json
    [ "$status" -eq 2 ] || fail "$command --json without the link module: exit $status, expected 2"
    python3 - "$tmp/out" "vq3 $name $missing" <<'PY' || fail "$command --json without the link module: $(cat "$tmp/out")"
import json, sys
box = json.load(open(sys.argv[1]))["error"]
sys.exit(box["title"] != "Error" or not box["text"].startswith(sys.argv[2]))
PY
done
run diff "$examples/nmea.vq3" unit:COM1
[ "$status" -eq 2 ] || fail "diff with a unit without the link module: exit $status, expected 2"
grep -qF "vq3 diff $missing" "$tmp/err" || fail "diff with a unit without the link module: $(cat "$tmp/err")"
run report "$examples/nmea.vq3" -o "$tmp/alone.pdf"
[ "$status" -eq 2 ] || fail "report without its module: exit $status, expected 2"
grep -qF "vq3 report cannot load its PDF module" "$tmp/err" || fail "report without its module: $(cat "$tmp/err")"
[ -e "$tmp/alone.pdf" ] && fail "report without its module wrote a file"

# Installed, vq3 finds its modules in lib/quellmark beside its bin, wherever the installation was put.
cmake --install "$build" --prefix "$tmp/prefix" >/dev/null || fail "cmake --install"
vq3=$(echo "$tmp"/prefix/bin/vq3)
run ports --json
[ "$status" -eq 0 ] || fail "the installed vq3 ports: exit $status: $(cat "$tmp/err")"
python3 -c 'import json, sys; assert "com" in json.load(open(sys.argv[1]))' "$tmp/out" ||
    fail "the installed vq3 ports --json: $(cat "$tmp/out")"
run report "$examples/tracking.vq3" -o "$tmp/installed.pdf"
[ "$status" -eq 0 ] || fail "the installed vq3 report: exit $status: $(cat "$tmp/err")"
echo "vq3 modules: all checks passed"
