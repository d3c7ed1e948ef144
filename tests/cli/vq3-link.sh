#!/usr/bin/env bash
# vq3 against vq3 sim over a real pseudo-terminal: identify, read, write, diff and write --set land exactly in the
# unit and back; backups keep what a write replaced, once each, for the user alone; the simulated unit paces at the
# line rate and removes its link when stopped.
vq3=$1
examples=$2
source "$(dirname "$0")/vq3-lib.sh"
images telemetry beacon nmea tracking alarm
head -c 128 /dev/zero >"$tmp/blank.bin"

# A write and a hundred reads keep the configuration the write replaced and the written one under its last read.
umask 022
start_sim --image "$tmp/beacon.bin"
[ "$(readlink "$port")" = "$(head -n 1 "$tmp/sim.out")" ] || fail "the link does not name the terminal"
expect 0 write "$examples/tracking.vq3" --port "$port"
for _ in $(seq 100); do expect 0 read --port "$port"; done
stop_sim
[ "$sim_status" -eq 0 ] || fail "vq3 sim ended with $sim_status on SIGTERM"
[ ! -L "$port" ] || fail "the link is left after SIGTERM"
mapfile -t kept < <(find "$backups" -name '*.bin' | sort)
[ "${#kept[@]}" -eq 2 ] || fail "${#kept[@]} backups of two configurations"
[[ "${kept[0]}" == *-VQ-3+-fw2-identify-before-write.bin ]] && cmp -s "${kept[0]}" "$tmp/beacon.bin" ||
    fail "the replaced configuration is kept as ${kept[0]}"
[[ "${kept[1]}" == *-VQ-3+-fw2-read.bin ]] && cmp -s "${kept[1]}" "$tmp/tracking.bin" ||
    fail "the written configuration is kept as ${kept[1]}"
[ "$(stat -c %a "$backups" "$backups"/* | sort -u | tr '\n' ' ')" = "600 700 " ] || fail "backups not private"
expect 0 backups
sed -n 3p "$tmp/out" | grep -Eq '^1 +[0-9-]{10} [0-9:]{8} +VQ-3\+ firmware 2 +Tracking +N0CALL +read$' &&
    sed -n 4p "$tmp/out" | grep -Eq '^2 .* +Beacon +TEST +identification, before a write$' || fail "the list"
"$vq3" show "$examples/beacon.vq3" >"$tmp/expected"
expect 0 backups show 2
cmp -s "$tmp/out" "$tmp/expected" || fail "backups show 2 differs from show of its file"
expect 0 backups restore 2 -o "$tmp/restored.vq3"
cmp -s "$tmp/restored.vq3" "$examples/beacon.vq3" || fail "the restored file differs"
chmod 755 "$backups"
start_sim --line-rate --image "$tmp/beacon.bin"
expect 0 --trace "$tmp/trace.txt" identify --port "$port"
[ "$(stat -c %a "$backups")" = 700 ] && [ "$(find "$backups" -name '*.bin' | wc -l)" -eq 2 ] ||
    fail "an identification of a kept configuration into an open folder"
# 131 bytes at 4800 baud take at least 273 ms from the request to the last byte.
awk '$2 == "->" && $3 == "55" { t = $1 } $2 == "<-" { last = $1 } END { exit !(last - t >= 0.272) }' \
    "$tmp/trace.txt" || fail "the reply came faster than the line rate"

# Identification as text and as JSON; a backup of what the unit holds, or a warning where none can be kept.
rm -rf "$backups"
expect 0 identify --port "$port"
[ "$(cat "$tmp/out")" = "VQ-3+ firmware 2" ] || fail "identify"
expect 0 identify --port "$port" --json
json 'j["model"] == "VQ-3+" and j["firmware"] == 2'
identified=("$backups"/*-VQ-3+-fw2-identify.bin)
[ "${#identified[@]}" -eq 1 ] && cmp -s "${identified[0]}" "$tmp/beacon.bin" || fail "the identification backups"
cmp -s "${identified[0]%.bin}.vq3" "$examples/beacon.vq3" || fail "the identification backup does not decode"
touch "$tmp/file"
prefix=(env XDG_DATA_HOME="$tmp/file")
expect 0 identify --port "$port"
grep -q "^vq3: warning: no backup kept in $tmp/file/quellmark/backups: " "$tmp/err" || fail "no backup warning"
prefix=()
# A backups folder that is a link is followed to a folder of the user's own, whose mode is the user's to choose;
# a link to another user's folder is not followed.
mkdir -m 755 "$tmp/elsewhere"
rm -rf "$backups" && ln -s "$tmp/elsewhere" "$backups"
expect 0 identify --port "$port"
[ "$(stat -c %a "$tmp/elsewhere")" = 755 ] && [ "$(find "$tmp/elsewhere" -name '*.bin' | wc -l)" -eq 1 ] ||
    fail "a linked backups folder: $(stat -c %a "$tmp/elsewhere"), $(ls -A "$tmp/elsewhere")"
if [ "$(id -u)" -eq 0 ]; then
    mkdir -m 755 "$tmp/theirs" && chown 65534:65534 "$tmp/theirs"
    rm "$backups" && ln -s "$tmp/theirs" "$backups"
    expect 0 identify --port "$port"
    grep -q "^vq3: warning: no backup kept in $backups: " "$tmp/err" && [ -z "$(ls -A "$tmp/theirs")" ] ||
        fail "a link to another user's folder"
fi
rm "$backups"
stop_sim

# Every mode written is exactly its compiled image in the unit, is kept, reads back as the example and diffs same.
start_sim --image "$tmp/blank.bin" --save "$tmp/saved.bin"
for name in telemetry beacon nmea tracking alarm; do
    expect 0 write "$examples/$name.vq3" --port "$port"
    [ "$(cat "$tmp/out")" = "Download Complete" ] || fail "write $name"
    cmp -s "$tmp/saved.bin" "$tmp/$name.bin" || fail "the unit holds something else than $name"
    written=$(ls "$backups"/*.vq3 | tail -n 1)
    [[ "$written" == *-write.vq3 ]] && cmp -s "$written" "$examples/$name.vq3" || fail "the backup of $name"
    expect 0 read --port "$port" -o "$tmp/read.vq3"
    cmp -s "$tmp/read.vq3" "$examples/$name.vq3" || fail "$name does not read back"
    expect 0 diff "$examples/$name.vq3" "unit:$port"
    [ ! -s "$tmp/out" ] || fail "diff of $name with its own image"
done

# write --set programs each unit as compile --set shows; a refused setting sends nothing.
while IFS=, read -r call ssid; do
    "$vq3" compile "$examples/tracking.vq3" --set TrkMyCall="$call" --set TrkSSID@1="$ssid" -o "$tmp/set.stream"
    expect 0 write "$examples/tracking.vq3" --port "$port" --set TrkMyCall="$call" --set TrkSSID@1="$ssid"
    tail -c 128 "$tmp/set.stream" | cmp -s - "$tmp/saved.bin" || fail "write --set for $call"
    [ "$(head -c 10 "$tmp/saved.bin" | tail -c 6)" = "$(printf '%-6s' "$call")" ] || fail "callsign $call"
done <<<$'N1ABC,9\nK2XYZ,7'
rm -f "$tmp/saved.bin"
for setting in TrkColour=red TrkSSID@11=7 TrkMyCall=TOOLONGCALL; do
    expect 2 --trace "$tmp/trace.txt" write "$examples/tracking.vq3" --port "$port" --set "$setting"
    ! grep -q ' -> ' "$tmp/trace.txt" || fail "write --set $setting sent bytes to the unit"
done
expect 1 write "$examples/tracking.vq3" --port "$port" --set TrkSSID@1=16 --json
box "Invalid SSID"
[ ! -e "$tmp/saved.bin" ] || fail "a refused write changed the unit"
stop_sim

# A plain VQ-3 refuses Beacon before anything is sent and takes Tracking.
start_sim --model 0 --image "$tmp/blank.bin" --save "$tmp/saved.bin"
expect 1 write "$examples/beacon.vq3" --port "$port" --json
box "Error"
[ ! -e "$tmp/saved.bin" ] || fail "a refused write reached the unit"
expect 0 write "$examples/tracking.vq3" --port "$port"
cmp -s "$tmp/saved.bin" "$tmp/tracking.bin" || fail "Tracking on a plain VQ-3"
stop_sim
echo "vq3 and the simulated unit agree byte for byte"
