#!/usr/bin/env bash
# vq3 report writes the NMEA and Tracking profile tables as PDF files whose text reads as expected; other modes and
# bad arguments are refused and leave the output alone.
set -uo pipefail
vq3=$1
examples=$2
expected=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

fail() {
    echo "FAIL: $*"
    failed=$((failed + 1))
}

# The page's text with runs of spaces squeezed, as pdftotext lays it out.
page_text() {
    pdftotext -layout "$1" - | sed 's/\f//; s/  */ /g; s/^ //; s/ $//' | grep -v '^$'
}

for mode in nmea tracking; do
    if ! "$vq3" report "$examples/$mode.vq3" -o "$work/$mode.pdf" --date 2026-12-05 2> "$work/err"; then
        fail "$mode: exit status $?: $(cat "$work/err")"
        continue
    fi
    [ -s "$work/err" ] && fail "$mode: wrote to stderr: $(cat "$work/err")"
    if ! diff <(page_text "$work/$mode.pdf") "$expected/$mode.txt"; then
        fail "$mode: the report's text differs"
    fi
done

"$vq3" report "$examples/nmea.vq3" -o "$work/large.pdf" --date 2026-02-28 --font "DejaVu Sans Mono" --size 14 \
    || fail "a large monospaced font: exit status $?"
page_text "$work/large.pdf" | grep -qx "NMEA Profiles for N0CALL (28 Feb 2026)" || fail "the title with --date"
pdffonts "$work/large.pdf" | grep -q "DejaVuSansMono" || fail "--font is not the font of the page"

echo "old" > "$work/kept.pdf"
for mode in telemetry beacon alarm; do
    "$vq3" report "$examples/$mode.vq3" -o "$work/kept.pdf" 2> "$work/err"
    status=$?
    [ "$status" -eq 1 ] || fail "$mode: exit status $status, expected 1"
    grep -q "is not an NMEA or Tracking configuration" "$work/err" || fail "$mode: no message: $(cat "$work/err")"
done
for date in 2026-13-01 2025-02-29 5.12.2026 2026-12-5; do
    "$vq3" report "$examples/nmea.vq3" -o "$work/kept.pdf" --date "$date" 2> "$work/err"
    status=$?
    [ "$status" -eq 2 ] || fail "--date $date: exit status $status, expected 2"
    grep -q "is not a date written YYYY-MM-DD" "$work/err" || fail "--date $date: no message"
done
[ "$(cat "$work/kept.pdf")" = "old" ] || fail "a refused report changed the output file"

"$vq3" report "$examples/nmea.vq3" -o "$work/no/such/folder/out.pdf" 2> "$work/err"
status=$?
[ "$status" -eq 2 ] || fail "missing folder: exit status $status, expected 2"
[ -s "$work/err" ] || fail "missing folder: no message"
[ -e "$work/no" ] && fail "missing folder: something was created"

# A report that cannot be written whole (past the file-size limit, which covers every regular file the program
# writes, so its message goes through a pipe) fails and leaves the old PDF as it was, with no temporary file.
mkdir "$work/limited"
"$vq3" report "$examples/nmea.vq3" -o "$work/limited/profiles.pdf" --date 2026-12-05
cp "$work/limited/profiles.pdf" "$work/before.pdf"
status=0
limited=$( (ulimit -f 8 && exec "$vq3" report "$examples/tracking.vq3" -o "$work/limited/profiles.pdf" 2>&1)) ||
    status=$?
[ "$status" -eq 2 ] || fail "past the file-size limit: exit status $status, expected 2"
[ "$limited" = "Error# 61: Disk Full: The disk that you are trying to use is full.  Please free up some disk space \
or select another disk." ] || fail "past the file-size limit: $limited"
cmp -s "$work/limited/profiles.pdf" "$work/before.pdf" || fail "past the file-size limit: the old PDF changed"
[ "$(ls -A "$work/limited")" = "profiles.pdf" ] || fail "past the file-size limit: left $(ls -A "$work/limited")"

"$vq3" report "$work/none.vq3" -o "$work/out.pdf" 2> /dev/null
[ $? -eq 2 ] || fail "missing configuration file: expected exit status 2"

if [ "$failed" -ne 0 ]; then
    echo "$failed check(s) failed"
    exit 1
fi
echo "report PDF checks passed"
