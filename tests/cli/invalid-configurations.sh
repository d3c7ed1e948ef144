#!/usr/bin/env bash
# Every invalid configuration is refused by vq3 compile with exit status 1 and exactly its expected error box.
set -uo pipefail
vq3=$1
data=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

passed=0
failed=0
shopt -s nullglob
for fixture in "$data"/invalid/*.vq3; do
    name=$(basename "$fixture" .vq3)
    expected="$data/invalid/$name.json"
    if [ ! -f "$expected" ]; then
        echo "$name: no expected box $name.json"
        failed=$((failed + 1))
        continue
    fi
    "$vq3" compile "$fixture" --json > "$work/actual.json"
    status=$?
    if [ "$status" -ne 1 ]; then
        echo "$name: exit status $status, expected 1"
        cat "$work/actual.json"
        failed=$((failed + 1))
    elif ! cmp -s "$expected" "$work/actual.json"; then
        echo "$name: the box differs"
        echo "expected: $(cat "$expected")"
        echo "actual:   $(cat "$work/actual.json")"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done

if [ $((passed + failed)) -eq 0 ]; then
    echo "no invalid configurations found in $data/invalid"
    exit 1
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
