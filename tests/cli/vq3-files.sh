#!/usr/bin/env bash
# vq3 on files: every example compiles and decodes back to its own bytes (the Beacon image exact), a refused
# configuration gets its box, a line longer than its field loads whole and is refused by the field's check, and the
# PDF report prints the profile tables and refuses what it cannot do without touching the output.
vq3=$1
examples=$2
data=$3
source "$(dirname "$0")/vq3-lib.sh"

worked="44 01 04 00 00 54 45 53 54 20 20 41 50 52 53 20 20 30$(printf ' 40 40 40 40 40 40 60%.0s' 1 2 3 4)"
worked+=" 03 00 92 58 00 62 48 45 4C 4C 4F$(printf ' 00%.0s' $(seq 72))"
expect 0 compile "$examples/beacon.vq3" --hex
[ "$(cat "$tmp/out")" = "$worked" ] || fail "beacon.vq3 compiles to another image"
for example in "$examples"/*.vq3; do
    expect 0 compile "$example" -o "$tmp/image.bin"
    [ "$(stat -c %s "$tmp/image.bin")" -eq 129 ] || fail "$example: the stream is not 129 bytes"
    expect 0 decode "$tmp/image.bin"
    cmp -s "$example" "$tmp/out" || fail "$example does not decode back to itself"
    "$vq3" compile "$example" --hex | "$vq3" decode --hex - | cmp -s "$example" - || fail "$example: hex round trip"
done
# A refused configuration's box as --json reports it, whole: text, title, icon, focus and the profile at fault.
awk 'BEGIN { RS = ORS = "\r\n" } NR == 30 { $0 = "99" } { print }' "$examples/tracking.vq3" >"$tmp/case.vq3"
expect 1 compile "$tmp/case.vq3" --json
[ "$(cat "$tmp/out")" = '{"error":{"focus":"TrkTmrMin","icon":"warning","profile":2,"text":"The Transmit Timer can be set to a maximum of 68 minutes.","title":"Invalid Transmit Timer Setting"}}' ] ||
    fail "the refusal's JSON"

# vq3 show prints each example as before, as text and as JSON (whole outputs pinned by their MD5 sums).
while read -r name text as_json; do
    [ "$("$vq3" show "$examples/$name.vq3" | md5sum | cut -c1-12)" = "$text" ] || fail "vq3 show $name changed"
    [ "$("$vq3" show "$examples/$name.vq3" --json | md5sum | cut -c1-12)" = "$as_json" ] || fail "show --json $name"
done <<EOT
telemetry d9cd14899dc3 a9140563a176
beacon 9f0b16905be4 d0c686c324d9
nmea 97a8922e797f 6e187ab109cf
tracking 92f3524893bc ddfcfc1dd28c
alarm 375ce7e43c24 abc4b8544449
EOT
sed 's/^HELLO\r$/GOODBYE\r/; 3s/.*/1\r/' "$examples/beacon.vq3" >"$tmp/changed.vq3"
expect 1 diff "$examples/beacon.vq3" "$tmp/changed.vq3"
[ "$(cat "$tmp/out")" = "Output Baud Rate: 1200 -> 300
Transmit Delay: 293 ms -> 373 ms
Tail Delay: 53 ms -> 80 ms
Beacon Text: HELLO -> GOODBYE" ] || fail "the differences"
expect 1 diff "$examples/beacon.vq3" "$tmp/changed.vq3" --json
json 'j["differences"][0] == {"control": "outputbaudrate", "label": "Output Baud Rate", "profile": None, "a": "1200", "b": "300"}'

# example | line | text | the field that refuses it (none: it compiles)
repeat() { printf "%${2}s" "" | tr ' ' "$1"; }
while IFS='|' read -r example line text focus; do
    awk -v n="$line" -v text="$text" 'BEGIN { RS = ORS = "\r\n" } NR == n { $0 = text } { print }' \
        "$examples/$example" >"$tmp/case.vq3"
    expect 0 show "$tmp/case.vq3" --json
    grep -qF -- "\"$text\"" "$tmp/out" || grep -qF -- "\"$text min 0 s\"" "$tmp/out" || fail "$example $line not whole"
    if [ "$focus" = none ]; then expect 0 compile "$tmp/case.vq3" --json; continue; fi
    expect 1 compile "$tmp/case.vq3" --json
    json 'j["error"]["focus"] == a[0]' "$focus"
done <<EOT
beacon.vq3|19|100|BcnTmrMin
beacon.vq3|9|123|BcnMySSID
beacon.vq3|8|ABCDEFG|BcnMyCall
beacon.vq3|11|ABCDEFGH-1|BcnSpecPath1
beacon.vq3|23|$(repeat B 77)|BcnMsgText
tracking.vq3|117|$(repeat c 22)|TrkComments
tracking.vq3|24|123|TrkSSID
tracking.vq3|29|//|TrkSymbol
nmea.vq3|19|100|NMEATmrMin
alarm.vq3|29|$(repeat m 26)|AlarmMsgText1
alarm.vq3|23|256|AlmTxCntrLimit
alarm.vq3|24|63.5|none
EOT

# The report's text as pdftotext lays it out, runs of spaces squeezed.
page_text() { pdftotext -layout "$1" - | sed 's/\f//; s/  */ /g; s/^ //; s/ $//' | grep -v '^$'; }
for mode in nmea tracking; do
    expect 0 report "$examples/$mode.vq3" -o "$tmp/$mode.pdf" --date 2026-12-05
    [ ! -s "$tmp/err" ] || fail "report $mode wrote to standard error"
    diff <(page_text "$tmp/$mode.pdf") "$data/report/$mode.txt" || fail "the $mode report's text differs"
done
expect 0 report "$examples/nmea.vq3" -o "$tmp/large.pdf" --date 2026-02-28 --font "DejaVu Sans Mono" --size 14
page_text "$tmp/large.pdf" | grep -qx "NMEA Profiles for N0CALL (28 Feb 2026)" || fail "the title with --date"
pdffonts "$tmp/large.pdf" | grep -q DejaVuSansMono || fail "--font is not the font of the page"
cp "$tmp/nmea.pdf" "$tmp/kept.pdf"
expect 1 report "$examples/beacon.vq3" -o "$tmp/kept.pdf"
for date in 2026-13-01 2025-02-29 2026-12-5; do expect 2 report "$examples/nmea.vq3" -o "$tmp/kept.pdf" --date "$date"; done
expect 2 report "$examples/nmea.vq3" -o "$tmp/no/such/folder/out.pdf"
# A report past the file-size limit (its message through a pipe) fails and leaves the old PDF and no temporary file.
status=0
limited=$( (ulimit -f 8 && exec "$vq3" report "$examples/tracking.vq3" -o "$tmp/kept.pdf" 2>&1)) || status=$?
[ "$status" -eq 2 ] && [[ "$limited" == "Error# 61: "* ]] || fail "a report past the file-size limit: $limited"
cmp -s "$tmp/kept.pdf" "$tmp/nmea.pdf" && [ ! -e "$tmp/no" ] || fail "a refused report changed the output"
[ "$(ls -A "$tmp" | grep -c pdf)" -eq 4 ] || fail "a temporary file is left: $(ls -A "$tmp")"
echo "vq3 compiles, decodes, checks and reports files exactly"
