#!/usr/bin/env bash
# vq3 run as root with another user's HOME (as sudo -E leaves it): it says once that it keeps nothing there, reads
# and writes the unit, and leaves nothing in that home folder, not even the folders above the backups.
set -euo pipefail
vq3=$1
examples=$2
[ "$(id -u)" -eq 0 ] || { echo "skipped: a home folder of another user needs root to run in it"; exit 77; }
source "$(dirname "$0")/../cli/vq3-lib.sh"
home="$tmp/home"
mkdir -m 755 "$home"
chown 65534:65534 "$home"
images beacon
start_sim --image "$tmp/beacon.bin"
prefix=(env -u XDG_DATA_HOME -u XDG_CONFIG_HOME -u XDG_CACHE_HOME HOME="$home")
notice="vq3: $home (HOME) is not root's own folder: nothing is written there, so the settings and backups that would"
notice+=" be kept there are not kept."
for command in "read --port $port" "write $examples/tracking.vq3 --port $port"; do
    expect 0 $command
    [ "$(grep -cxF "$notice" "$tmp/err")" -eq 1 ] || fail "vq3 $command did not say once where it keeps nothing"
    grep -q "^vq3: warning: no backup kept in (none): " "$tmp/err" || fail "vq3 $command kept a backup somewhere"
    left=$(find "$home" -mindepth 1)
    [ -z "$left" ] || fail "vq3 $command left in the other user's home: $left"
done
stop_sim
echo "vq3 leaves another user's home folder alone"
