#!/usr/bin/env bash
# A configuration file line longer than its field loads whole (vq3 show prints it as written), and vq3 compile
# refuses what the unit cannot take with the box that names the field, never with a value cut to fit.
set -uo pipefail
vq3=$1
examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Writes the example with one line (counted from 1) replaced.
with_line() {
    awk -v n="$2" -v text="$3" 'BEGIN { RS = "\r\n"; ORS = "\r\n" } NR == n { $0 = text } { print }' \
        "$examples/$1" > "$work/case.vq3"
}

repeat() { printf "%${2}s" "" | tr ' ' "$1"; }

# example | line | text | what vq3 show --json prints | compile status | what the compile prints
cases=(
    "beacon.vq3|19|100|\"BcnTmr\":\"100 min 0 s\"|1|\"focus\":\"BcnTmrMin\",\"icon\":\"warning\",\"profile\":null,\"text\":\"The Transmit Timer can be set to a maximum of 68 minutes.\""
    "beacon.vq3|9|123|\"BcnMySSID\":\"123\"|1|\"focus\":\"BcnMySSID\",\"icon\":\"none\",\"profile\":null,\"text\":\"The SSID specified for 'My Call' is invalid."
    "beacon.vq3|8|ABCDEFG|\"BcnMyCall\":\"ABCDEFG\"|1|\"focus\":\"BcnMyCall\",\"icon\":\"warning\",\"profile\":null,\"text\":\"The value in 'My Call' cannot be stored"
    "beacon.vq3|11|ABCDEFGH-1|\"BcnSpecPath1\":\"ABCDEFGH-1\"|1|\"focus\":\"BcnSpecPath1\",\"icon\":\"none\",\"profile\":null,\"text\":\"The callsign specified in 'Special Path 1' is too long."
    "beacon.vq3|23|$(repeat B 77)|\"BcnMsgText\":\"$(repeat B 77)\"|1|\"focus\":\"BcnMsgText\",\"icon\":\"warning\",\"profile\":null,\"text\":\"The value in 'Beacon Text' cannot be stored"
    "beacon.vq3|20|0059|\"BcnTmr\":\"10 min 59 s\"|0|\"image\":\"44 01 "
    "tracking.vq3|117|$(repeat c 22)|\"TrkComments\":\"$(repeat c 22)\"|1|\"focus\":\"TrkComments\",\"icon\":\"warning\",\"profile\":null,\"text\":\"The value in 'Comments' cannot be stored"
    "tracking.vq3|24|123|\"TrkSSID\":\"123\"|1|\"focus\":\"TrkSSID\",\"icon\":\"none\",\"profile\":2,\"text\":\"The SSID specified in Profile # 2 is invalid."
    "tracking.vq3|29|//|\"TrkSymbol\":\"//\"|1|\"focus\":\"TrkSymbol\",\"icon\":\"warning\",\"profile\":2,\"text\":\"The value in 'Symbol' of Profile #2 cannot be stored"
    "nmea.vq3|19|100|\"NMEATmr\":\"100 min 0 s\"|1|\"focus\":\"NMEATmrMin\",\"icon\":\"warning\",\"profile\":1,\"text\":\"The Transmit Timer can be set to a maximum of 68 minutes.\""
    "alarm.vq3|29|$(repeat m 26)|\"AlarmMsgText1\":\"$(repeat m 26)\"|1|\"focus\":\"AlarmMsgText1\",\"icon\":\"warning\",\"profile\":null,\"text\":\"The value in 'Alarm 1 Message' cannot be stored"
    "alarm.vq3|24|63.5|\"AlmArmDelay\":\"63.5\"|0|\"image\":\"44 04 "
)

passed=0
failed=0
for row in "${cases[@]}"; do
    IFS='|' read -r example line text shown status printed <<< "$row"
    name="$example line $line"
    with_line "$example" "$line" "$text"
    "$vq3" show "$work/case.vq3" --json > "$work/show.json"
    "$vq3" compile "$work/case.vq3" --json > "$work/compile.json"
    actual=$?
    if ! grep -qF -- "$shown" "$work/show.json"; then
        echo "$name: vq3 show does not print $shown"
        cat "$work/show.json"
        failed=$((failed + 1))
    elif [ "$actual" -ne "$status" ]; then
        echo "$name: compile exit status $actual, expected $status"
        cat "$work/compile.json"
        failed=$((failed + 1))
    elif ! grep -qF -- "$printed" "$work/compile.json"; then
        echo "$name: compile does not print $printed"
        cat "$work/compile.json"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] && [ "$passed" -eq "${#cases[@]}" ]
