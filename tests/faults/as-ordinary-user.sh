#!/usr/bin/env bash
# Runs a command as the user nobody when run as root, for whom file permissions are not enforced; else as is.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then
    exec "$@"
fi
home=$(mktemp -d)
chown 65534:65534 "$home"
trap 'rm -rf "$home"' EXIT
status=0
HOME="$home" setpriv --reuid=65534 --regid=65534 --clear-groups "$@" || status=$?
exit "$status"
