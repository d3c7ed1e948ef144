#!/usr/bin/env bash
# A second start of quellmark with a configuration file on its command line hands the file to the running copy,
# which opens it (and keeps it among its recent files), and ends at once without a box of its own; a file named on
# the first start's command line opens at start-up.
set -euo pipefail
quellmark=$(realpath "$1")
vq3=$2
examples=$3
tmp=$(mktemp -d)
first=""
sim=""
cleanup()
{
    [ -z "$first" ] || kill -KILL "$first" 2>/dev/null || true
    [ -z "$sim" ] || kill -TERM "$sim" 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
fail()
{
    echo "FAIL: $*" >&2
    exit 1
}

mkdir -p "$tmp/home/.config/quellmark" "$tmp/runtime" "$tmp/files"
chmod 700 "$tmp/runtime"
"$vq3" sim --link "$tmp/unit" >/dev/null 2>&1 &
sim=$!
disown "$sim"
for _ in $(seq 100); do
    [ -e "$tmp/unit" ] && break
    sleep 0.05
done
printf '%s\r\n' 1 N0CALL 0 0 6 2 FALSE Reserved Reserved Reserved >"$tmp/home/.config/quellmark/vq3.ini"
cp "$examples/tracking.vq3" "$tmp/files/first.vq3"
cp "$examples/beacon.vq3" "$tmp/files/second.vq3"
conf="$tmp/home/.config/quellmark/quellmark.conf"
run()
{
    env QUELLMARK_COM1="$tmp/unit" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/home/.config" QT_QPA_PLATFORM=offscreen \
        "$quellmark" "$@"
}

run "$tmp/files/first.vq3" >"$tmp/first.log" 2>&1 &
first=$!
disown "$first"
for _ in $(seq 200); do
    [ -S "$tmp/runtime/quellmark.socket" ] && break
    kill -0 "$first" 2>/dev/null || fail "the first copy ended at start-up"
    sleep 0.05
done
[ -S "$tmp/runtime/quellmark.socket" ] || fail "the first copy does not listen for a second start"
grep -q "^RecentFile=$tmp/files/first.vq3" "$conf" || fail "the file on the command line was not opened"

(cd "$tmp/files" && timeout 10 env QUELLMARK_COM1="$tmp/unit" HOME="$tmp/home" XDG_RUNTIME_DIR="$tmp/runtime" XDG_CONFIG_HOME="$tmp/home/.config" \
    QT_QPA_PLATFORM=offscreen "$quellmark" second.vq3) || fail "the second start did not end at once (exit $?)"
for _ in $(seq 100); do
    [ "$(head -n 1 "$conf" | tr -d '\r')" = "RecentFile=$tmp/files/second.vq3" ] && break
    sleep 0.05
done
[ "$(head -n 1 "$conf" | tr -d '\r')" = "RecentFile=$tmp/files/second.vq3" ] ||
    fail "the running copy did not open the file the second start named (relative to its folder)"
kill -0 "$first" 2>/dev/null || fail "the first copy ended"
echo "a second start handed its file to the running copy"
