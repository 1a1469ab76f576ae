# shellcheck shell=bash
# shellcheck disable=SC2154 # prefix, work and driverPath belong to the script that sources this
# Sourced by the comparison scripts: the programs they start and end, waiting for what a program
# does, free ports, LCDd's settings, and what /proc says of processes. The script sets prefix (the
# start of its messages) and work (its folder), and traps EXIT with cleanup.

fail() {
    echo "$prefix: $*" >&2
    exit 1
}
programs=()
start() { # background command; its pid is added to programs
    "$@" &
    programs+=($!)
}
stopPrograms() {
    local p
    for p in "${programs[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    programs=()
}
cleanup() {
    stopPrograms
    if [ -n "${COMPARE_KEEP:-}" ]; then echo "$prefix: files kept in $work"; else rm -rf "$work"; fi
}
# Stops with the build command when a file built only with the benchmarks is missing.
requireBench() { # build folder, file
    if [ ! -e "$2" ]; then
        echo "$prefix: $2 is missing; build it with the benchmarks:" >&2
        echo "  cmake -S . -B $1 -DCMAKE_BUILD_TYPE=RelWithDebInfo -DRELAYEUR_BUILD_BENCH=ON && cmake --build $1 -j2" >&2
        exit 2
    fi
}

# Waits until a command succeeds, up to a deadline: await WHAT SECONDS COMMAND...
await() {
    local what=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "$what did not happen within $seconds s"
        sleep 0.1
    done
}
freePort() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }

# A private LCDd on 127.0.0.1 in the foreground, without its own screen, its drivers in the folder
# $driverPath: lcddSettings PORT DRIVER FRAME-INTERVAL-µs (empty: LCDd's own) DRIVER-LINE...
lcddSettings() {
    printf '[server]\nDriverPath=%s\nDriver=%s\nBind=127.0.0.1\nPort=%s\n' "$driverPath" "$2" "$1"
    printf 'ReportLevel=2\nReportToSyslog=no\nUser=%s\nForeground=yes\nServerScreen=no\nWaitTime=5\n' "$(id -un)"
    [ -z "$3" ] || printf 'FrameInterval=%s\n' "$3"
    printf '[%s]\n' "$2"
    shift 3
    printf '%s\n' "$@"
}

cpuTicks() { # utime + stime of the processes given
    local total=0 p stat
    for p in "$@"; do
        stat=$(cat "/proc/$p/stat") || fail "process $p ended during the run"
        stat=${stat##*) }
        total=$((total + $(echo "$stat" | awk '{ print $12 + $13 }')))
    done
    echo "$total"
}
rssKib() { # summed VmRSS of the processes given
    local total=0 p
    for p in "$@"; do total=$((total + $(awk '$1 == "VmRSS:" { print $2 }' "/proc/$p/status"))); done
    echo "$total"
}
# min/median/max of the numbers on standard input
spread() { sort -g | awk '{ v[NR] = $1 } END { if (NR) printf "%s/%s/%s", v[1], v[int((NR + 1) / 2)], v[NR]; else printf "n/a" }'; }
