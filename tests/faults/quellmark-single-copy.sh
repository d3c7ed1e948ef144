#!/usr/bin/env bash
# quellmark's single-copy lock with XDG_RUNTIME_DIR unset: what another user left in the shared temporary folder (a
# runtime folder in this user's name, a lock file) does not make it report another copy running; it locks in a
# folder only its user can write. Planting files as another user needs root (the program runs as nobody).
set -euo pipefail
quellmark=$1
[ "$(id -u)" -eq 0 ] || { echo "skipped: planting files as another user needs root"; exit 77; }
shared=$(mktemp -d)
home=$(mktemp -d)
desktop=""
trap '[ -z "$desktop" ] || kill -KILL "$desktop" 2>/dev/null; rm -rf "$shared" "$home"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
chmod 1777 "$shared"
chown 65534:65534 "$home"
mkdir -m 700 "$shared/runtime-nobody"
echo "planted" >"$shared/quellmark.lock"
chmod 600 "$shared/quellmark.lock"
env -u XDG_RUNTIME_DIR -u XDG_CACHE_HOME TMPDIR="$shared" HOME="$home" QT_QPA_PLATFORM=offscreen \
    setpriv --reuid=65534 --regid=65534 --clear-groups "$quellmark" >/dev/null 2>&1 &
desktop=$!
disown "$desktop"
lock=""
for _ in $(seq 200); do
    lock=$(find "$home/.cache/quellmark" -name 'quellmark-*.lock' 2>/dev/null | head -n 1) || true
    [ -z "$lock" ] || break
    kill -0 "$desktop" 2>/dev/null || fail "quellmark ended at start-up"
    sleep 0.05
done
[ -n "$lock" ] || fail "quellmark took no lock in its user's own folder"
[ "$(head -n 1 "$lock")" = "$desktop" ] || fail "the lock names process $(head -n 1 "$lock"), not $desktop"
[ "$(stat -c %a:%u "$home/.cache/quellmark")" = 700:65534 ] || fail "the lock folder is not 700 and the user's"
kill -0 "$desktop" 2>/dev/null && [ "$(cat "$shared/quellmark.lock")" = planted ] || fail "quellmark ended or wrote"
echo "quellmark starts whatever another user leaves in the shared temporary folder"
