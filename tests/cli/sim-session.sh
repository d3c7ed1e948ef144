# Sourced by the scripts that run vq3 against vq3 sim on a real pseudo-terminal: a private folder with its own
# backups, the simulated unit started and stopped, failures reported with what the programs printed.
# Needs: vq3 (the binary). Sets: tmp, backups, port, crlfcr, pids, sim, status.
tmp=$(mktemp -d)
export XDG_DATA_HOME="$tmp/data"
backups="$XDG_DATA_HOME/quellmark/backups"
port="$tmp/port"
crlfcr=$'\r\n\r'
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do
        kill -CONT "$pid" 2>/dev/null || true
        kill -KILL "$pid" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT

fail()
{
    echo "FAIL: $*" >&2
    for f in out err sim.err trace.txt; do
        if [ -s "$tmp/$f" ]; then echo "--- $f" >&2; tail -n 20 "$tmp/$f" >&2; fi
    done
    exit 1
}

start_sim()
{
    rm -f "$tmp/sim.out"
    "$vq3" sim --link "$port" "$@" >"$tmp/sim.out" 2>"$tmp/sim.err" &
    sim=$!
    pids+=("$sim")
    for _ in $(seq 200); do
        [ -s "$tmp/sim.out" ] && return 0
        kill -0 "$sim" 2>/dev/null || fail "vq3 sim $* exited before printing its terminal"
        sleep 0.05
    done
    fail "vq3 sim $* printed no terminal"
}

stop_sim()
{
    kill -CONT "$sim" 2>/dev/null || true
    kill -TERM "$sim" 2>/dev/null || true
    for _ in $(seq 200); do
        kill -0 "$sim" 2>/dev/null || break
        sleep 0.05
    done
    kill -KILL "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
}

# Runs vq3 with its output in out and err and its status in status; a run that does not end fails.
run()
{
    status=0
    rm -f "$tmp/trace.txt"
    timeout 60 "$vq3" "$@" >"$tmp/out" 2>"$tmp/err" || status=$?
    [ "$status" -ne 124 ] || fail "vq3 $* did not end"
}
