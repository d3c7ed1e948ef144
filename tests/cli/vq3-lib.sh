# Sourced by the vq3 end-to-end scripts: a private folder with its own backups, vq3 run with its exit status
# checked, the simulated unit on a pseudo-terminal, checks of JSON output and of what reached the unit.
set -euo pipefail
tmp=$(mktemp -d)
chmod 755 "$tmp"
export XDG_DATA_HOME="$tmp/data"
backups="$XDG_DATA_HOME/quellmark/backups"
port="$tmp/port"
prefix=() # words run before vq3, such as env or setpriv
pids=()
trap 'set +e; exec 2>/dev/null; for pid in "${pids[@]}"; do kill -CONT "$pid"; kill -KILL "$pid"; done; chmod -R u+rwx "$tmp"; rm -rf "$tmp"' EXIT
fail()
{
    echo "FAIL: $*" >&2
    for f in out err sim.err; do [ ! -s "$tmp/$f" ] || { echo "--- $f" && tail -n 20 "$tmp/$f"; } >&2; done
    exit 1
}
# expect STATUS ARGS...: runs vq3 ARGS, output in $tmp/out and $tmp/err; fails on a hang or another exit status.
expect()
{
    local want=$1 status=0
    shift
    timeout 60 "${prefix[@]}" "$vq3" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    [ "$status" -eq "$want" ] || fail "vq3 $*: exit $status, expected $want (124: a hang)"
}
# json EXPRESSION [ARGS...]: the Python expression holds over the JSON j that vq3 printed (and the args a).
json()
{
    python3 -c 'import glob, json, sys; j = json.loads(open(sys.argv[1], "rb").read().decode()); a = sys.argv[3:]
sys.exit(not eval(sys.argv[2]))' "$tmp/out" "$@" || fail "not $*"
}
box() { json 'j["error"]["title"] == a[0]' "$1"; }
# Compiles examples to $tmp/NAME.stream (129 bytes) and $tmp/NAME.bin (the unit's 128).
images() { for n in "$@"; do "$vq3" compile "$examples/$n.vq3" -o "$tmp/$n.stream" && tail -c 128 "$tmp/$n.stream" >"$tmp/$n.bin"; done; }
start_sim()
{
    "$vq3" sim --link "$port" "$@" >"$tmp/sim.out" 2>"$tmp/sim.err" &
    sim=$!
    pids+=("$sim")
    for _ in $(seq 200); do
        [ ! -s "$tmp/sim.out" ] || return 0
        kill -0 "$sim" 2>/dev/null || fail "vq3 sim $* ended before printing its terminal"
        sleep 0.05
    done
    fail "vq3 sim $* printed no terminal"
}
# Stops the simulated unit with SIGTERM; its exit status goes to sim_status.
stop_sim()
{
    kill -CONT "$sim" 2>/dev/null && kill -TERM "$sim" 2>/dev/null || true
    for _ in $(seq 200); do kill -0 "$sim" 2>/dev/null || break; sleep 0.05; done
    kill -KILL "$sim" 2>/dev/null || true
    sim_status=0
    wait "$sim" 2>/dev/null || sim_status=$?
    rm -f "$tmp/sim.out"
}
# The bytes the unit received (vq3 sim --log $tmp/unit.log), in hex.
received() { python3 -c 'import sys; print(bytes(int(l.split()[1], 16) for l in open(sys.argv[1])).hex())' "$tmp/unit.log"; }
# background ARGS...: runs vq3 --trace $tmp/trace.txt ARGS as client; wait_trace AWK waits until the awk program
# exits 0 on the trace; finish STATUS waits for the client, checks its status and moves its output to out and err.
background() { rm -f "$tmp/trace.txt"; timeout 60 "$vq3" --trace "$tmp/trace.txt" "$@" >"$tmp/bg.out" 2>"$tmp/bg.err" & client=$! && pids+=("$client"); }
wait_trace()
{
    for _ in $(seq 2000); do
        ! awk "$1" "$tmp/trace.txt" 2>/dev/null || return 0
        kill -0 "$client" 2>/dev/null || fail "vq3 ended before its trace showed $1"
        sleep 0.01
    done
    fail "the trace never showed $1"
}
finish()
{
    local status=0
    wait "$client" || status=$?
    mv "$tmp/bg.out" "$tmp/out" && mv "$tmp/bg.err" "$tmp/err"
    [ "$status" -eq "$1" ] || fail "exit $status, expected $1 (124: a hang)"
}
