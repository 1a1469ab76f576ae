#!/usr/bin/env bash
# Relayeur as an LCDd server beside LCDd itself, serving the same clients.
#
#   bench/compare-lcdd-server.sh [SECONDS [RUNS]]      (defaults: 120 s, 3 runs)
#
# Each run takes three setups, one after the other, so that none shares the machine with another:
#   LCDd      LCDd from Debian's lcdproc package, text driver at 20x4 drawing into /dev/null, on a
#             free loopback port, no server screen, its default frame interval (8 frames a second);
#   Relayeur  relayeur --terminal, the on-screen panel at 20x4 drawn into /dev/null every 125 ms
#             (LCDd's 8 a second), bench/server-pages.tlcd turning, its LCDd server on a free
#             loopback port ([serveur] LCDd=127.0.0.1:PORT in param.ini);
#   alone     the same Relayeur, same settings and profile, with no client: its memory without them.
# LCDd and Relayeur each serve Debian's lcdproc client (screens C M T U) and lcd-load-client (built
# with the benchmarks): 20 connections, each with a foreground screen whose string widget changes
# 8 times a second. Only the server process is measured, not its clients: processor time (utime +
# stime from /proc/PID/stat) from 10 s after all are up, over SECONDS, VmRSS every second, and
# the wake-ups (voluntary context switches of its threads) over the same time.
# Each run prints its table and the load client's summary of each setup; a huh? or a lost
# connection fails the run. The end gives min/median/max over the runs and the two goals:
# Relayeur's processor time at most half LCDd's, and at most 1 MiB more resident memory with the
# clients than without.
#
# Environment: RELAYEUR_BUILD (default build-bench); COMPARE_KEEP=1 keeps the work folders.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

duration=${1:-120}
runs=${2:-3}
build=${RELAYEUR_BUILD:-build-bench}
settle=10
clients=20
rate=8

. scripts/ensure-packages.sh
ensure_packages lcdproc procps python3
relayeur=$root/$build/relayeur
send=$root/$build/relayeur-send
loadClient=$root/$build/bench/lcd-load-client
. bench/require-built.sh
. bench/compare-common.sh
prefix=compare-lcdd-server
require_built "$prefix" "$build" "$relayeur" "$send"
requireBench "$build" "$loadClient"
lcdd=$(command -v LCDd || echo /usr/sbin/LCDd)
driverPath=$(dirname "$(dpkg -L lcdproc | grep '/text\.so$' | head -n 1)")/
ticks=$(getconf CLK_TCK)
profile=$root/bench/server-pages.tlcd

work=$(mktemp -d /tmp/relayeur-lcdd-server.XXXXXX)
trap cleanup EXIT
trap 'exit 130' INT TERM
alive() { # name=pid...
    local named
    for named in "$@"; do
        kill -0 "${named#*=}" 2>/dev/null || fail "${named%%=*} (pid ${named#*=}) ended during the run; see $work"
    done
}
listening() { bash -c "exec 3<>/dev/tcp/127.0.0.1/$1"; }
logOf() { if [ -s "$1" ]; then cat "$1"; else echo "(empty)"; fi; }

# lcdproc with the screens C M T U, and the load client, on port $2; their logs in folder $1.
startClients() {
    local dir=$1 port=$2
    # Its own settings, so that nothing of /etc/lcdproc.conf comes in, and the screens left out
    # of the command line are off (a screen missing from the settings is on: Load, About).
    {
        printf '[lcdproc]\nServer=127.0.0.1\nPort=%s\nReportLevel=2\nReportToSyslog=false\nForeground=true\n' "$port"
        local screen
        for screen in Iface Load About SMP-CPU OldTime BigClock Battery CPUGraph ProcSize Disk MiniClock; do
            printf '[%s]\nActive=false\n' "$screen"
        done
    } >"$dir/lcdproc.conf"
    start lcdproc -f -c "$dir/lcdproc.conf" -s 127.0.0.1 -p "$port" C M T U </dev/null >"$dir/lcdproc.log" 2>&1
    lcdprocPid=${programs[-1]}
    # The clients send through the settle time, the measure and a little after it.
    start "$loadClient" 127.0.0.1 "$port" "$clients" "$rate" $((settle + duration + 3)) \
        </dev/null >"$dir/load.log" 2>&1
    loadPid=${programs[-1]}
    local deadline=$((SECONDS + 30))
    until grep -q ' ready on ' "$dir/load.log"; do
        kill -0 "$loadPid" 2>/dev/null || fail "the load client could not set up its screens: $(logOf "$dir/load.log")"
        [ $SECONDS -lt $deadline ] || fail "the load client was not ready within 30 s: $(logOf "$dir/load.log")"
        sleep 0.1
    done
    kill -0 "$lcdprocPid" 2>/dev/null || fail "lcdproc ended at its start: $(logOf "$dir/lcdproc.log")"
}

# Voluntary context switches of all the threads of a process: its wake-ups (a thread may end
# while they are read).
wakeUps() { { cat /proc/"$1"/task/*/status 2>/dev/null || true; } | awk '$1 == "voluntary_ctxt_switches:" { n += $2 } END { print n + 0 }'; }

# Measures the server $2 (named $1) from $settle s on, over $duration s, while the other programs
# named stay up; appends "name cpu-seconds %core rss-max-MiB wake-ups/s" to the results and prints
# its row.
measure() { # name, pid, other name=pid...
    local name=$1 pid=$2
    shift 2
    sleep "$settle"
    alive "server=$pid" "$@"
    local cpu0 wake0 t0=$EPOCHREALTIME rssMax=0 r i
    cpu0=$(cpuTicks "$pid")
    wake0=$(wakeUps "$pid")
    for ((i = 1; i <= duration; i++)); do
        # Sleep to the next whole second from the start, so that the window lasts exactly SECONDS.
        sleep "$(awk -v a="$EPOCHREALTIME" -v b="$t0" -v n="$i" 'BEGIN { d = n - (a - b); print (d > 0 ? d : 0) }')"
        alive "server=$pid" "$@"
        r=$(rssKib "$pid")
        if ((r > rssMax)); then rssMax=$r; fi
    done
    local row
    row=$(awk -v c="$(($(cpuTicks "$pid") - cpu0))" -v hz="$ticks" -v w="$(awk -v a="$EPOCHREALTIME" -v b="$t0" 'BEGIN { print a - b }')" \
        -v r="$rssMax" -v k="$(($(wakeUps "$pid") - wake0))" \
        'BEGIN { printf "%.2f %.3f %.1f %.1f", c / hz, c / hz / w * 100, r / 1024, k / w }')
    echo "$name $row" >>"$work/results"
    # shellcheck disable=SC2086
    printf '%-28s %7s %8s %12s %11s\n' "${labels[$name]}" $row
}
declare -A labels=([lcdd]="LCDd (text driver)" [relayeur]="Relayeur, LCDd server" [alone]="Relayeur alone, no client")

# The load client's summary of the setup in folder $1; a failure of it fails the run.
loadSummary() {
    local status=0
    wait "$loadPid" || status=$?
    echo "  load client: $(tail -n 1 "$1/load.log" | sed 's/^lcd-load-client: //')"
    [ "$status" = 0 ] || fail "the load client failed (status $status): $(logOf "$1/load.log")"
}

runLcdd() { # folder
    local dir=$1 port
    port=$(freePort)
    mkdir -p "$dir"
    lcddSettings "$port" text "" Size=20x4 >"$dir/LCDd.conf"
    start "$lcdd" -f -c "$dir/LCDd.conf" </dev/null >/dev/null 2>"$dir/LCDd.log"
    local lcddPid=${programs[-1]}
    await "LCDd listening on port $port" 10 listening "$port"
    startClients "$dir" "$port"
    measure lcdd "$lcddPid" "lcdproc=$lcdprocPid" "load client=$loadPid"
    loadSummary "$dir"
    stopPrograms
}

# Relayeur with its LCDd server, in folder $1; with the clients unless $2 is "alone".
runRelayeur() {
    local dir=$1 port
    port=$(freePort)
    mkdir -p "$dir" && mkdir -m 0700 "$dir/run"
    {
        printf '[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=4\ncontrast=50\nbacklight=1\nrefresh=125\n'
        printf 'scrolling=1\nrep_winamp=\nrep_seti=\nrep_HL=\n[serveur]\nLCDd=127.0.0.1:%s\n' "$port"
    } >"$dir/param.ini"
    start env XDG_RUNTIME_DIR="$dir/run" "$relayeur" --terminal --config-dir "$dir" --quiet --profile "$profile" \
        --start </dev/null >/dev/null 2>"$dir/relayeur.log"
    local relayeurPid=${programs[-1]}
    await "Relayeur answering" 30 env XDG_RUNTIME_DIR="$dir/run" "$send" "" 0 3
    local deadline=$((SECONDS + 10))
    until listening "$port" 2>/dev/null; do
        kill -0 "$relayeurPid" 2>/dev/null || fail "Relayeur ended at its start: $(logOf "$dir/relayeur.log")"
        [ $SECONDS -lt $deadline ] ||
            fail "Relayeur did not open its LCDd server on 127.0.0.1:$port within 10 s ([serveur] LCDd=127.0.0.1:$port in its param.ini): this build has no LCDd server, or it did not start; its log: $(logOf "$dir/relayeur.log")"
        sleep 0.1
    done
    if [ "${2:-}" = alone ]; then
        measure alone "$relayeurPid"
    else
        startClients "$dir" "$port"
        measure relayeur "$relayeurPid" "lcdproc=$lcdprocPid" "load client=$loadPid"
        loadSummary "$dir"
    fi
    stopPrograms
}

for ((run = 1; run <= runs; run++)); do
    echo
    echo "Run $run of $runs: $duration s each, one setup after the other, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
    printf '%-28s %7s %8s %12s %11s\n' "" "CPU s" "% core" "RSS max MiB" "wake-ups/s"
    runLcdd "$work/run$run/lcdd"
    runRelayeur "$work/run$run/relayeur"
    runRelayeur "$work/run$run/alone" alone
    tail -n 3 "$work/results" | awk '{ v[$1 "," 2] = $2; v[$1 "," 4] = $4 } END {
        printf "Relayeur CPU / LCDd CPU %.3f (goal <= 0.5); Relayeur RSS with clients - without %.1f MiB (goal <= 1)\n",
            (v["lcdd,2"] > 0 ? v["relayeur,2"] / v["lcdd,2"] : 0), v["relayeur,4"] - v["alone,4"] }'
done

field() { awk -v s="$1" -v f="$2" '$1 == s { print $f }' "$work/results"; }
# Field $3 of setup $1 beside the same field of setup $2, one line per run.
perRun() { paste -d' ' <(field "$1" "$3") <(field "$2" "$3"); }
echo
echo "Over $runs runs of $duration s (min/median/max)"
printf '%-28s %-17s %-20s %-16s %s\n' "" "CPU s" "% core" "RSS max MiB" "wake-ups/s"
for s in lcdd relayeur alone; do
    printf '%-28s %-17s %-20s %-16s %s\n' "${labels[$s]}" "$(field "$s" 2 | spread)" "$(field "$s" 3 | spread)" \
        "$(field "$s" 4 | spread)" "$(field "$s" 5 | spread)"
done
cpuRatios=$(perRun relayeur lcdd 2 | awk '{ printf "%.3f\n", ($2 > 0 ? $1 / $2 : 0) }')
rssGrowth=$(perRun relayeur alone 4 | awk '{ printf "%.1f\n", $1 - $2 }')
goal() { # values, goal: how many of them are at most the goal
    awk -v g="$2" -v n="$runs" '$1 <= g { k++ } END { printf "met in %d of %d runs: %s", k, n, (k == n ? "met" : "NOT MET") }' <<<"$1"
}
echo "Relayeur CPU / LCDd CPU: $(spread <<<"$cpuRatios"); goal <= 0.5 $(goal "$cpuRatios" 0.5)"
echo "Relayeur RSS with clients - without: $(spread <<<"$rssGrowth") MiB; goal <= 1 MiB $(goal "$rssGrowth" 1)"
echo "CPU time has a resolution of 1/$ticks s per process."
