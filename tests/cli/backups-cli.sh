#!/usr/bin/env bash
# vq3 backups through the real binary after a write to vq3 sim: the list names the configuration the write
# replaced, show prints it as vq3 show prints its file, restore gives back the file, a backup that is not there
# ends with exit 2, and a write the unit breaks off says where the unit's configuration is kept.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/sim-session.sh"

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

"$vq3" compile "$examples/beacon.vq3" -o "$tmp/beacon.stream"
tail -c 128 "$tmp/beacon.stream" >"$tmp/beacon.bin"

run backups
expect_status 0 "backups before any"
[ "$(cat "$tmp/out")" = "No backups in $backups yet." ] || fail "backups before any printed $(cat "$tmp/out")"

start_sim --image "$tmp/beacon.bin"
run write "$examples/tracking.vq3" --port "$port"
expect_status 0 "the write"
stop_sim

run backups
expect_status 0 "backups"
sed -n 3p "$tmp/out" | grep -Eq '^1 +[0-9-]{10} [0-9:]{8} +VQ-3\+ firmware 2 +Tracking +N0CALL +write$' ||
    fail "backup 1 is not the write: $(cat "$tmp/out")"
sed -n 4p "$tmp/out" | grep -Eq '^2 .* +Beacon +TEST +identification, before a write$' ||
    fail "backup 2 is not what the write replaced: $(cat "$tmp/out")"

run backups --json
expect_status 0 "backups --json"
python3 - "$tmp/out" <<'PY' || fail "backups --json: $(cat "$tmp/out")"
import json, sys
backups = json.load(open(sys.argv[1]))["backups"]
assert [b["number"] for b in backups] == [1, 2]
assert backups[1]["beforeWrite"] and backups[1]["modeName"] == "Beacon" and backups[1]["firmware"] == 2
PY

"$vq3" show "$examples/beacon.vq3" >"$tmp/expected"
run backups show 2
expect_status 0 "backups show 2"
cmp -s "$tmp/out" "$tmp/expected" || fail "backups show 2 differs from show of the file"
run backups show 2 --json
expect_status 0 "backups show 2 --json"
[ "$(python3 -c 'import json,sys; print(json.load(open(sys.argv[1]))["BcnMyCall"])' "$tmp/out")" = TEST ] ||
    fail "backups show 2 --json: $(cat "$tmp/out")"

run backups restore 2 -o "$tmp/restored.vq3"
expect_status 0 "backups restore 2"
cmp -s "$tmp/restored.vq3" "$examples/beacon.vq3" || fail "the restored file differs from what the unit held"

for backup in 0 3 x; do
    run backups show "$backup"
    expect_status 2 "backups show $backup"
    grep -q '^Error: There is no backup ' "$tmp/err" || fail "backups show $backup: $(cat "$tmp/err")"
    run backups restore "$backup" -o "$tmp/none.vq3"
    expect_status 2 "backups restore $backup"
    [ ! -e "$tmp/none.vq3" ] || fail "backups restore $backup wrote a file"
done

# A write the unit breaks off names where the configuration the unit held is kept, and the list says so.
"$vq3" compile "$examples/alarm.vq3" -o "$tmp/alarm.stream"
tail -c 128 "$tmp/alarm.stream" >"$tmp/alarm.bin"
start_sim --bad-echo-at 5 --image "$tmp/alarm.bin"
run write "$examples/beacon.vq3" --port "$port"
expect_status 3 "a write with a bad echo"
stop_sim
kept=$(sed -n 's/^The configuration the unit held before this write is kept in \(.*\)\.$/\1/p' "$tmp/err")
[ -n "$kept" ] || fail "the failed write does not say where the unit's configuration is kept: $(cat "$tmp/err")"
[[ "$kept" == "$backups"/*-VQ-3+-fw2-identify-before-write.vq3 ]] || fail "the kept configuration is $kept"
cmp -s "$kept" "$examples/alarm.vq3" || fail "$kept is not what the unit held"
run backups
sed -n 3p "$tmp/out" | grep -Eq '^1 .* +Alarm +N0CALL +identification, before a write$' ||
    fail "the list does not show what the broken write nearly replaced: $(cat "$tmp/out")"

echo "vq3 backups lists, shows and restores what the unit held"
