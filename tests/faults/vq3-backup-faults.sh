#!/usr/bin/env bash
# Backups through vq3 against vq3 sim: a hundred reads after a write keep the configuration the write replaced,
# each configuration is kept once under its latest sighting, and the backups are the user's alone (files 0600 in
# a 0700 folder, also when an earlier version left the folder open).
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/../cli/sim-session.sh"
umask 022

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

# Prints the backups' raw files, oldest first.
backup_files()
{
    find "$backups" -name '*.bin' | sort
}

for name in beacon tracking; do
    "$vq3" compile "$examples/$name.vq3" -o "$tmp/$name.stream"
    tail -c 128 "$tmp/$name.stream" >"$tmp/$name.bin"
done

start_sim --image "$tmp/beacon.bin"
run write "$examples/tracking.vq3" --port "$port"
expect_status 0 "the write"
for _ in $(seq 100); do
    run read --port "$port"
    expect_status 0 "a read after the write"
done
stop_sim

mapfile -t kept < <(backup_files)
[ "${#kept[@]}" -eq 2 ] || fail "${#kept[@]} backups of two configurations"
cmp -s "${kept[0]}" "$tmp/beacon.bin" || fail "the configuration the write replaced is lost"
[[ "${kept[0]}" == *-VQ-3+-fw2-identify-before-write.bin ]] || fail "the replaced configuration is kept as ${kept[0]}"
cmp -s "${kept[0]%.bin}.vq3" "$examples/beacon.vq3" || fail "the replaced configuration's file differs"
cmp -s "${kept[1]}" "$tmp/tracking.bin" || fail "the written configuration is not the newest backup"
[[ "${kept[1]}" == *-VQ-3+-fw2-read.bin ]] || fail "the written configuration is not named by its latest read"

[ "$(stat -c %a "$backups")" = 700 ] || fail "the backup folder is $(stat -c %a "$backups"), not 700"
for file in "$backups"/*; do
    [ "$(stat -c %a "$file")" = 600 ] || fail "$file is $(stat -c %a "$file"), not 600"
done

# A folder an earlier version left open to everyone is closed at the next backup.
chmod 755 "$backups"
start_sim --image "$tmp/beacon.bin"
run identify --port "$port"
expect_status 0 "identify into an open backup folder"
stop_sim
[ "$(stat -c %a "$backups")" = 700 ] || fail "the open backup folder was left $(stat -c %a "$backups")"
[ "$(backup_files | wc -l)" -eq 2 ] || fail "an identification of a kept configuration added a backup"

echo "vq3 keeps each configuration once, the newest hundred, for the user's eyes only"
