#!/usr/bin/env bash
# Resident memory of Relayeur as a user runs it, three runs of each way:
#   terminal   relayeur --terminal, the on-screen panel drawn into a pseudo-terminal
#   offscreen  the window with its on-screen panel, on Qt's offscreen platform
#   xvfb       the same window on a virtual X server (xvfb-run)
#
#   bench/memory.sh [SECONDS]      (default 5)
#
# Each run shows bench/live-page.tlcd on the on-screen panel (TypeLCD=1, 20x4, every 500 ms);
# after SECONDS the script reads VmRSS and RssAnon (the private part; the rest is library code
# shared with other processes) from /proc/PID/status of the program that draws the panel, and
# names the Qt libraries it has mapped. Prints min/median/max of the three runs beside the load.
#
# Environment: RELAYEUR_BUILD (default build-bench).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-5}
build=${RELAYEUR_BUILD:-build-bench}
relayeur=$root/$build/relayeur
# socat gives the terminal run its pseudo-terminal, pgrep finds the window's process, xvfb-run
# gives it a display.
. scripts/ensure-packages.sh
ensure_packages socat procps xvfb xauth
. bench/require-built.sh
require_built memory "$build" "$relayeur"

work=$(mktemp -d /tmp/relayeur-memory.XXXXXX)
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
printf '[parametres]\nTypeLCD=1\nCOM=1\nC=20\nL=4\ncontrast=50\nbacklight=1\nrefresh=500\n' \
    >"$work/param.ini"
printf 'scrolling=1\nrep_winamp=\nrep_seti=\nrep_HL=\n' >>"$work/param.ini"

# The process that draws the panel: the window's program when relayeur hands the window over.
panelProcess() {
    local pid=$1 child
    for child in $(pgrep -P "$pid" 2>/dev/null); do
        [ "$(cat "/proc/$child/comm")" != Xvfb ] || continue
        panelProcess "$child"
        return
    done
    echo "$pid"
}

# One run: prints "VmRSS RssAnon" in KiB and leaves the mapped Qt libraries in $work/libs.
measure() {
    local way=$1 pid
    rm -rf "$work/run" && mkdir -m 0700 "$work/run"
    local args=(--config-dir "$work" --quiet --profile "$root/bench/live-page.tlcd" --start)
    case $way in
    terminal)
        socat -u "PTY,link=$work/tty,rawer" "OPEN:/dev/null" &
        pids+=($!)
        while [ ! -e "$work/tty" ]; do sleep 0.05; done
        env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/run" "$relayeur" --terminal "${args[@]}" \
            </dev/null >"$work/tty" 2>/dev/null &
        ;;
    offscreen)
        XDG_RUNTIME_DIR="$work/run" QT_QPA_PLATFORM=offscreen "$relayeur" "${args[@]}" \
            </dev/null >/dev/null 2>&1 &
        ;;
    xvfb)
        env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/run" xvfb-run -a "$relayeur" "${args[@]}" \
            </dev/null >/dev/null 2>&1 &
        ;;
    esac
    pid=$!
    pids+=("$pid")
    sleep "$seconds"
    local shown
    shown=$(panelProcess "$pid")
    awk '/^VmRSS:/ { r = $2 } /^RssAnon:/ { a = $2 } END { print r, a }' "/proc/$shown/status"
    grep -o 'libQt6[A-Za-z]*' "/proc/$shown/maps" | sort -u | tr '\n' ' ' >"$work/libs"
    # The program first: xvfb-run then stops its X server itself.
    kill "$shown"
    wait "$pid" 2>/dev/null || true
    [ "$way" != terminal ] || kill "${pids[-2]}" 2>/dev/null || true
}

# min/median/max of three numbers in KiB, in MiB.
spread() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 / 1024 } END {
        printf "%.1f/%.1f/%.1f", v[1], v[2], v[3] }'
}

ways=(terminal offscreen)
command -v xvfb-run >/dev/null && ways+=(xvfb)
printf '%-10s %-22s %-22s %s\n' way 'VmRSS MiB min/med/max' 'RssAnon MiB' 'load (1 min)'
for way in "${ways[@]}"; do
    rss=() anon=() loads=()
    for _ in 1 2 3; do
        measure "$way" >"$work/result"
        read -r r a <"$work/result"
        rss+=("$r") anon+=("$a") loads+=("$(cut -d' ' -f1 /proc/loadavg)")
    done
    printf '%-10s %-22s %-22s %s\n' "$way" "$(spread "${rss[@]}")" "$(spread "${anon[@]}")" \
        "${loads[*]}"
    printf '           Qt: %s\n' "$(cat "$work/libs")"
done
