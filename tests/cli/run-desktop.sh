# make run's script on stand-ins for the two programs: the demonstration's settings go to a folder of its own, never
# beside the program, and survive from one run to the next; the desktop program finds the simulated unit on COM1.
set -euo pipefail
script=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
build="$tmp/build"
mkdir -p "$build"
cat >"$build/vq3" <<'STUB'
#!/usr/bin/env bash
case $1 in
compile) : >"$4" ;;
sim) : >"$3"; echo "/dev/pts/0"; exec sleep 30 ;;
esac
STUB
cat >"$build/quellmark" <<'STUB'
#!/usr/bin/env bash
{
    echo "com1=$QUELLMARK_COM1"
    echo "ini=$(od -An -c "$XDG_CONFIG_HOME/quellmark/vq3.ini" | tr -s ' \n' ' ')"
    echo "data=$XDG_DATA_HOME"
} >"$(dirname "$0")/started"
STUB
chmod +x "$build/vq3" "$build/quellmark"
demo_ini=$'1\r\nN0CALL\r\n0\r\n0\r\n6\r\n2\r\nFALSE\r\nReserved\r\nReserved\r\nReserved\r\n'
run() { QT_QPA_PLATFORM=offscreen timeout 60 bash "$script" "$build" >"$tmp/out" 2>&1 || fail "run-desktop: $(cat "$tmp/out")"; }

run
[ ! -e "$build/vq3.ini" ] || fail "a vq3.ini was written beside the program"
ini="$build/demo/config/quellmark/vq3.ini"
cmp -s "$ini" <(printf '%s' "$demo_ini") || fail "the demonstration's vq3.ini: $(od -c "$ini" | head -3)"
grep -q "^com1=.*/port$" "$build/started" || fail "COM1 is not the simulated unit: $(cat "$build/started")"
grep -q "^ini= 1 \\\\r \\\\n N 0 C A L L" "$build/started" || fail "the program did not find its settings"
grep -qx "data=$build/demo/data" "$build/started" || fail "the backups are not the demonstration's own"

# The user's own settings beside the program are theirs, the demonstration's own are kept between runs, and a file
# an earlier version of the script left beside the program goes.
printf '2\r\nDL1ABC\r\n' >"$ini"
printf 'mine\r\n' >"$build/vq3.ini"
run
[ "$(cat "$ini")" == $'2\r\nDL1ABC\r' ] || fail "the demonstration's settings were not kept"
[ "$(cat "$build/vq3.ini")" == $'mine\r' ] || fail "the user's vq3.ini beside the program was touched"
printf '%s' "$demo_ini" >"$build/vq3.ini"
run
[ ! -e "$build/vq3.ini" ] || fail "the earlier demonstration's vq3.ini beside the program stayed"
echo "run-desktop: ok"
