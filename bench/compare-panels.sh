#!/usr/bin/env bash
# The panels Relayeur drives through Linux's own devices, each beside LCDd driving the same kind
# where Debian's LCDd can, in the same run.
#
#   bench/compare-panels.sh [SECONDS [RUNS]]      (defaults: 120 s, 3 runs)
#
# Every setup shows a 20x4 page refreshed every 500 ms: Relayeur bench/live-page.tlcd (date and
# time, free memory, a scroller, a bargraph), LCDd the lcdproc client's Memory and TimeDate
# screens at a 500 ms frame interval, as bench/compare-lcdproc.sh does.
#   i2c   a PCF8574 backpack with LCDd's wiring (brochage 2) at 0x3F on an emulated /dev/i2c-N whose
#         bus runs at 100 kHz (tools/emulated-devices, preloaded): Relayeur (TypeLCD 5) and LCDd's
#         hd44780 driver (ConnectionType=i2c), each on a bus of its own. The emulation counts each
#         burst of transfers, a frame, with its bytes and the time it took on the wire.
#   mtxorb a Matrix Orbital module on a pseudo-terminal drained into a file: Relayeur (TypeLCD 8)
#         and LCDd's MtxOrb driver, both at 19200 bit/s. The bytes per second are those of the
#         line: a 19200 bit/s line carries 1920.
#   lcd   Relayeur alone (TypeLCD 7) on a pseudo-terminal standing for /dev/lcd: Debian's LCDd
#         has no driver for the kernel's LCD.
#   gpio  Relayeur alone (TypeLCD 6) on an emulated GPIO chip: Debian's LCDd is built without its
#         GPIO connection types.
# Relayeur runs as a machine without a screen runs it, with --terminal.
# Processor time (utime + stime of every process of a setup, from /proc) counts from 10 s after
# all are up, over SECONDS; resident memory is sampled every second. Each run prints its table;
# the last table gives min/median/max over the runs.
#
# Environment: RELAYEUR_BUILD (default build-bench); COMPARE_KEEP=1 keeps the work folders.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

duration=${1:-120}
runs=${2:-3}
build=${RELAYEUR_BUILD:-build-bench}
settle=10

. scripts/ensure-packages.sh
ensure_packages lcdproc lcdproc-extra-drivers socat procps python3
relayeur=$root/$build/relayeur
send=$root/$build/relayeur-send
emulation=$root/$build/tools/emulated-devices/libemulated-devices.so
. bench/require-built.sh
. bench/compare-common.sh
prefix=compare-panels
require_built "$prefix" "$build" "$relayeur" "$send"
requireBench "$build" "$emulation"
lcdd=$(command -v LCDd || echo /usr/sbin/LCDd)
driverPath=$(dirname "$(dpkg -L lcdproc | grep '/text\.so$' | head -n 1)")/
ticks=$(getconf CLK_TCK)
profile=$root/bench/live-page.tlcd

work=$(mktemp -d /tmp/relayeur-panels.XXXXXX)
trap cleanup EXIT
trap 'exit 130' INT TERM
drainedPty() { # link, file
    start socat -u "PTY,link=$1,rawer" "OPEN:$2,creat,trunc"
    await "the pseudo-terminal $1" 10 test -e "$1"
}

relayeurSettings() { # folder, type, [ports] lines...
    local dir=$1 type=$2
    shift 2
    mkdir -p "$dir" && mkdir -m 0700 "$dir/run"
    {
        printf '[parametres]\nTypeLCD=%s\nCOM=1\nC=20\nL=4\ncontrast=50\nbacklight=1\n' "$type"
        printf 'refresh=500\nscrolling=1\nrep_winamp=\nrep_seti=\nrep_HL=\n[ports]\n'
        printf '%s\n' "$@"
    } >"$dir/param.ini"
}
startRelayeur() { # folder, then environment assignments
    local dir=$1
    shift
    start env "$@" XDG_RUNTIME_DIR="$dir/run" \
        "$relayeur" --terminal --config-dir "$dir" --quiet --profile "$profile" --start \
        </dev/null >"$dir/relayeur.log" 2>&1
}
startLcdd() { # folder, port, driver section lines..., then environment after --
    local dir=$1 port=$2
    shift 2
    local section=()
    while [ $# -gt 0 ] && [ "$1" != -- ]; do section+=("$1"); shift; done
    shift
    mkdir -p "$dir"
    lcddSettings "$port" "${section[0]}" 500000 "${section[@]:1}" >"$dir/LCDd.conf"
    start env "$@" "$lcdd" -f -c "$dir/LCDd.conf" </dev/null >"$dir/LCDd.log" 2>&1
    local lcddPid=$!
    await "LCDd listening on port $port" 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$port"
    cat >"$dir/lcdproc.conf" <<EOF
[lcdproc]
Server=127.0.0.1
Port=$port
ReportLevel=2
ReportToSyslog=false
Foreground=true
[Memory]
Active=true
OnTime=4
OffTime=4
[TimeDate]
Active=true
OnTime=4
OffTime=4
TimeFormat="%H:%M:%S"
DateFormat="%x"
EOF
    start lcdproc -f -c "$dir/lcdproc.conf" -s 127.0.0.1 -p "$port" M T </dev/null >"$dir/lcdproc.log" 2>&1
    echo "$lcddPid $!" >"$dir/pids"
}

# frames on a bus in a statistics file, after the settle time: "bytes min/median/max, ms min/median/max"
frames() { # file, bus
    local lines
    lines=$(awk -v b="$2" '$1 == b' "$1" | tail -n +3)
    printf '%s B, %s ms' "$(echo "$lines" | awk '{ print $2 }' | spread)" \
        "$(echo "$lines" | awk '{ print $3 }' | spread)"
}

oneRun() { # run number; appends "setup cpu% rssMiB" lines to $work/results
    local run=$1
    local dir=$work/run$run
    mkdir -p "$dir"
    local preload=(LD_PRELOAD="$emulation" RELAYEUR_EMULATED_I2C_HZ=100000)

    relayeurSettings "$dir/i2c-r" 5 "I2C=/dev/i2c-11" "adresse=0x3f" "brochage=2"
    startRelayeur "$dir/i2c-r" "${preload[@]}" RELAYEUR_EMULATED="i2c:/dev/i2c-11:0x3f:2:20x4" \
        RELAYEUR_EMULATED_STATS="$dir/i2c-r/bus.txt"
    local i2cR=${programs[-1]}
    startLcdd "$dir/i2c-l" "$(freePort)" hd44780 ConnectionType=i2c Device=/dev/i2c-12 Port=0x3f \
        Size=20x4 Backlight=yes -- "${preload[@]}" RELAYEUR_EMULATED="i2c:/dev/i2c-12:0x3f:2:20x4" \
        RELAYEUR_EMULATED_STATS="$dir/i2c-l/bus.txt"
    local i2cL
    i2cL=$(cat "$dir/i2c-l/pids")

    relayeurSettings "$dir/mtx-r" 8 "MtxOrb=$dir/mtx-r/tty" "vitesse=19200"
    drainedPty "$dir/mtx-r/tty" "$dir/mtx-r/panel.out"
    startRelayeur "$dir/mtx-r"
    local mtxR=${programs[-1]}
    mkdir -p "$dir/mtx-l"
    drainedPty "$dir/mtx-l/tty" "$dir/mtx-l/panel.out"
    startLcdd "$dir/mtx-l" "$(freePort)" MtxOrb "Device=$dir/mtx-l/tty" Size=20x4 Speed=19200 \
        Type=lcd Contrast=480 -- LCDD_UNUSED=1
    local mtxL
    mtxL=$(cat "$dir/mtx-l/pids")

    relayeurSettings "$dir/lcd-r" 7 "lcd=$dir/lcd-r/tty"
    drainedPty "$dir/lcd-r/tty" "$dir/lcd-r/panel.out"
    startRelayeur "$dir/lcd-r"
    local lcdR=${programs[-1]}

    relayeurSettings "$dir/gpio-r" 6 "GPIO=gpiochip13" "broches=7,8,25,24,23,18,15"
    startRelayeur "$dir/gpio-r" LD_PRELOAD="$emulation" \
        RELAYEUR_EMULATED="gpio:/dev/gpiochip13:7,8,25,24,23,18,15:20x4"
    local gpioR=${programs[-1]}

    local d
    for d in i2c-r mtx-r lcd-r gpio-r; do
        await "Relayeur ($d) answering" 30 env XDG_RUNTIME_DIR="$dir/$d/run" "$send" "" 0 3
    done
    sleep "$settle"

    declare -A pids=([i2c-r]="$i2cR" [i2c-l]="$i2cL" [mtx-r]="$mtxR" [mtx-l]="$mtxL" [lcd-r]="$lcdR" [gpio-r]="$gpioR")
    declare -A cpu0 rssSum bytes0
    local s
    for s in "${!pids[@]}"; do
        # shellcheck disable=SC2086
        cpu0[$s]=$(cpuTicks ${pids[$s]})
        rssSum[$s]=0
        [ -f "$dir/$s/panel.out" ] && bytes0[$s]=$(stat -c %s "$dir/$s/panel.out")
    done
    local t0=$EPOCHREALTIME i
    for ((i = 1; i <= duration; i++)); do
        sleep "$(awk -v a="$EPOCHREALTIME" -v b="$t0" -v n="$i" 'BEGIN { d = n - (a - b); print (d > 0 ? d : 0) }')"
        for s in "${!pids[@]}"; do
            # shellcheck disable=SC2086
            rssSum[$s]=$((rssSum[$s] + $(rssKib ${pids[$s]})))
        done
    done
    local window
    window=$(awk -v a="$EPOCHREALTIME" -v b="$t0" 'BEGIN { printf "%.3f", a - b }')

    echo
    echo "Run $run: $window s, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
    printf '%-34s %7s %9s  %s\n' "" "% core" "RSS MiB" "on the panel's line"
    local label line cpu
    for s in i2c-r i2c-l mtx-r mtx-l lcd-r gpio-r; do
        case $s in
        i2c-r) label="i2c: Relayeur (TypeLCD 5)" ;;
        i2c-l) label="i2c: LCDd hd44780 + lcdproc" ;;
        mtx-r) label="mtxorb: Relayeur (TypeLCD 8)" ;;
        mtx-l) label="mtxorb: LCDd MtxOrb + lcdproc" ;;
        lcd-r) label="lcd: Relayeur (TypeLCD 7)" ;;
        gpio-r) label="gpio: Relayeur (TypeLCD 6)" ;;
        esac
        # shellcheck disable=SC2086
        cpu=$(awk -v c="$(($(cpuTicks ${pids[$s]}) - cpu0[$s]))" -v hz="$ticks" -v w="$window" \
            'BEGIN { printf "%.3f", c / hz / w * 100 }')
        if [ "$s" = gpio-r ]; then
            line="—"
        elif [ -f "$dir/$s/bus.txt" ]; then
            line="frames $(frames "$dir/$s/bus.txt" "$(awk 'NR == 1 { print $1 }' "$dir/$s/bus.txt")") at 100 kHz"
        else
            line="$(awk -v b="$(($(stat -c %s "$dir/$s/panel.out") - bytes0[$s]))" -v w="$window" \
                'BEGIN { printf "%.1f B/s", b / w }')"
        fi
        printf '%-34s %7s %9.1f  %s\n' "$label" "$cpu" \
            "$(awk -v r="${rssSum[$s]}" -v n="$duration" 'BEGIN { print r / n / 1024 }')" "$line"
        echo "$s $cpu $(awk -v r="${rssSum[$s]}" -v n="$duration" 'BEGIN { printf "%.1f", r / n / 1024 }')" >>"$work/results"
    done
    for s in i2c-r i2c-l; do
        awk -v s="$s" '{ print s, $2, $3 }' "$dir/$s/bus.txt" | tail -n +3 >>"$work/frames"
    done

    stopPrograms
}

for ((r = 1; r <= runs; r++)); do
    oneRun "$r"
done

echo
echo "Over $runs runs of $duration s (min/median/max)"
printf '%-34s %-22s %-18s\n' "" "% core" "RSS MiB"
for s in i2c-r i2c-l mtx-r mtx-l lcd-r gpio-r; do
    printf '%-34s %-22s %-18s\n' "$s" "$(awk -v s="$s" '$1 == s { print $2 }' "$work/results" | spread)" \
        "$(awk -v s="$s" '$1 == s { print $3 }' "$work/results" | spread)"
done
for s in i2c-r i2c-l; do
    printf 'frames on the I2C bus, %s: %s B, %s ms\n' "$s" \
        "$(awk -v s="$s" '$1 == s { print $2 }' "$work/frames" | spread)" \
        "$(awk -v s="$s" '$1 == s { print $3 }' "$work/frames" | spread)"
done
