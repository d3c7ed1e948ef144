#!/usr/bin/env bash
# Output and input faults through vq3: standard output and the trace file on a full disk or past the file-size
# limit end with exit 2 and the system's reason; standard input that never ends is refused at the file limit;
# names and environment values that are not UTF-8 give valid JSON.
set -euo pipefail
vq3=$1
examples=$2
source "$(dirname "$0")/../cli/sim-session.sh"

expect_status()
{
    [ "$status" -eq "$1" ] || fail "$2: exit $status, expected $1"
}

expect_err()
{
    grep -qxF -- "$1" "$tmp/err" || fail "$2: no line '$1' on standard error"
}

# Checks that out holds one JSON object whose field (a path of keys) is the text given.
expect_json_field()
{
    python3 - "$tmp/out" "$@" <<'PY' || fail "not the JSON expected: $(cat -v "$tmp/out")"
import json, sys
value = json.loads(open(sys.argv[1], "rb").read().decode("utf-8"))
keys, expected = sys.argv[2:-1], sys.argv[-1]
for key in keys:
    value = value[key]
sys.exit(str(value) != expected)
PY
}

"$vq3" compile "$examples/tracking.vq3" -o "$tmp/tracking.stream"
tail -c 128 "$tmp/tracking.stream" >"$tmp/tracking.bin"
disk_full="No space left on device"

# Standard output on a full disk, for a command that reads the unit and for one that does not.
start_sim --image "$tmp/tracking.bin"
for command in "read --port $port" "read --port $port --json" "identify --port $port" \
    "decode $tmp/tracking.stream" "show $examples/tracking.vq3 --json"; do
    status=0
    # shellcheck disable=SC2086
    timeout 60 "$vq3" $command >/dev/full 2>"$tmp/err" || status=$?
    expect_status 2 "$command onto a full disk"
    expect_err "vq3: cannot write standard output: $disk_full" "$command onto a full disk"
done

# Standard output cut short by the file-size limit (which covers every regular file, so errors go through a pipe).
status=0
limited=$( (ulimit -f 0 && exec timeout 60 "$vq3" decode "$tmp/tracking.stream" 2>&1 >"$tmp/limited.vq3")) ||
    status=$?
printf '%s\n' "$limited" >"$tmp/err"
expect_status 2 "decode past the file-size limit"
expect_err "vq3: cannot write standard output: File too large" "decode past the file-size limit"

# The trace on a full disk: the transfer itself completes, then the command fails.
run --trace /dev/full identify --port "$port"
expect_status 2 "a trace onto a full disk"
[ "$(cat "$tmp/out")" = "VQ-3+ firmware 2" ] || fail "the identification under a failing trace: $(cat "$tmp/out")"
expect_err "vq3: cannot write the trace file /dev/full: $disk_full" "a trace onto a full disk"
run --trace "$tmp/no-such-folder/trace.txt" identify --port "$port"
expect_status 2 "a trace into a missing folder"
expect_err "Error: Cannot write the trace file $tmp/no-such-folder/trace.txt: No such file or directory." \
    "a trace into a missing folder"
stop_sim

# Standard input that never ends, or ends past the file limit, is refused at the limit.
for source in /dev/zero 17M; do
    status=0
    if [ "$source" = /dev/zero ]; then
        timeout 60 "$vq3" decode - </dev/zero >"$tmp/out" 2>"$tmp/err" || status=$?
    else
        head -c "$source" /dev/zero | timeout 60 "$vq3" decode - >"$tmp/out" 2>"$tmp/err" || status=$?
    fi
    [ "$status" -ne 124 ] || fail "decode of $source from standard input does not end"
    expect_status 2 "decode of $source from standard input"
    expect_err "Error: Cannot read standard input: it does not end within 16 MiB." "decode of $source"
done

# Bytes that are not UTF-8 in a port's name, in the environment and in a file name give valid JSON, each byte
# converted to its character.
odd=$'\xff\xe9'
run identify --port "$tmp/$odd" --json
expect_status 3 "identify on a port whose name is not UTF-8"
expect_json_field device "$tmp/ÿé"
run read --port "$tmp/$odd" --json
expect_status 3 "read on a port whose name is not UTF-8"
expect_json_field device "$tmp/ÿé"
run diff "unit:$tmp/$odd" "$examples/tracking.vq3" --json
expect_status 3 "diff with a unit whose port name is not UTF-8"
expect_json_field reason "$tmp/ÿé: No such file or directory"
run show "$tmp/$odd.vq3" --json
expect_status 2 "show of a file whose name is not UTF-8"
expect_json_field error title "Error# 53: File Not Found"
status=0
QUELLMARK_COM4="$tmp/$odd" timeout 60 "$vq3" ports --json >"$tmp/out" 2>"$tmp/err" || status=$?
expect_status 0 "ports with a COM4 that is not UTF-8"
expect_json_field com COM4 "$tmp/ÿé"
status=0
QUELLMARK_COM4="$tmp/$odd" timeout 60 "$vq3" identify --port COM4 --json >"$tmp/out" 2>"$tmp/err" || status=$?
expect_status 3 "identify on a COM4 that is not UTF-8"
expect_json_field device "$tmp/ÿé"

echo "vq3 reports every output that did not arrive, bounds its input and keeps its JSON valid"
