#!/usr/bin/env bash
# Every bundled example compiles, decodes back to exactly its own bytes, and the worked Beacon image is exact.
set -euo pipefail
vq3=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

worked="44 01 04 00 00 54 45 53 54 20 20 41 50 52 53 20 20 30"
for _ in 1 2 3 4; do worked+=" 40 40 40 40 40 40 60"; done
worked+=" 03 00 92 58 00 62 48 45 4C 4C 4F"
for _ in $(seq 72); do worked+=" 00"; done
actual=$("$vq3" compile "$examples/beacon.vq3" --hex)
if [ "$actual" != "$worked" ]; then
    echo "beacon.vq3 compiles to"; echo "$actual"; echo "expected"; echo "$worked"; exit 1
fi

for example in "$examples"/*.vq3; do
    "$vq3" compile "$example" -o "$work/image.bin"
    [ "$(stat -c %s "$work/image.bin")" -eq 129 ] || { echo "$example: stream is not 129 bytes"; exit 1; }
    "$vq3" decode "$work/image.bin" -o "$work/decoded.vq3"
    cmp "$example" "$work/decoded.vq3" || { echo "$example does not decode back to itself"; exit 1; }
    "$vq3" compile "$example" --hex | "$vq3" decode --hex - > "$work/from-hex.vq3"
    cmp "$example" "$work/from-hex.vq3" || { echo "$example: hex round trip differs"; exit 1; }
done
echo "all examples round-trip"
