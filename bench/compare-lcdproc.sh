#!/usr/bin/env bash
# Whole-process processor time and resident memory of Relayeur beside LCDproc, in the same run.
#
#   bench/compare-lcdproc.sh [SECONDS]      (default 300)
#
# Three setups drive a 20x4 page with the time, memory figures and a moving part, refreshed every
# 500 ms, side by side for the same SECONDS, so that they see the same load on the machine:
#   a) Relayeur on a serial panel (TypeLCD=2) whose device is a pseudo-terminal; a socat on the
#      master side drains it into a file. Qt's offscreen platform holds its window.
#   b) Relayeur --terminal, the on-screen panel drawn into a pseudo-terminal drained the same way.
#      Both show bench/live-page.tlcd: date and time, free memory, a scroller and a bargraph.
#   c) LCDd from Debian's lcdproc package with its text driver at 20x4, frames every 500 ms, drawn
#      into a pseudo-terminal drained the same way, on a private port, fed by the lcdproc client's Memory (M) and TimeDate (T) screens, each
#      updated every 4 ticks of 125 ms.
#   d) Relayeur as an LCDd client (TypeLCD=4) of a second LCDd set up as in c), showing the page
#      of a) and b). Its line is Relayeur alone; the LCDd it drives is shown below it.
#   e) Relayeur in its window with the on-screen panel (TypeLCD=1) on a virtual X display
#      (xvfb-run), showing the same page. Its line is Relayeur alone; the X server that shows the
#      window is shown below it.
# Every second the script reads utime+stime from /proc/PID/stat and VmRSS from
# /proc/PID/status; for LCDproc it adds LCDd and lcdproc together and shows each as well. Beside
# them: the private part of the resident memory (RssAnon; the rest is library code and data that
# other processes share), and the wake-ups per second (voluntary context switches of all
# threads).
# Processor time counts from 5 s after all of them are up, over SECONDS.
#
# Environment: RELAYEUR_BUILD (default build-bench); COMPARE_KEEP=1 keeps the panels' output and
# logs in the work directory.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

duration=${1:-300}
build=${RELAYEUR_BUILD:-build-bench}
settle=5

. scripts/ensure-packages.sh
ensure_packages lcdproc socat procps xvfb xauth
relayeur=$root/$build/relayeur
send=$root/$build/relayeur-send
. bench/require-built.sh
require_built compare "$build" "$relayeur" "$send"
lcdd=$(command -v LCDd || echo /usr/sbin/LCDd)
driverPath=$(dirname "$(dpkg -L lcdproc | grep '/text\.so$' | head -n 1)")/

work=$(mktemp -d /tmp/relayeur-compare.XXXXXX)
programs=()
drains=()
cleanup() {
    # The programs end first, each resetting its panel, then the readers that drain the panels.
    local p
    for p in "${programs[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    for p in "${programs[@]}"; do
        wait "$p" 2>/dev/null || true
        # One started by xvfb-run is not this script's child: its end is watched.
        for _ in $(seq 1 50); do
            kill -0 "$p" 2>/dev/null || break
            sleep 0.1
        done
    done
    for p in "${drains[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    if [ -n "${COMPARE_KEEP:-}" ]; then
        echo "compare: files kept in $work"
    else
        rm -rf "$work"
    fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "compare: $*" >&2
    exit 1
}

# Waits until a command succeeds, up to a deadline.
await() {
    local what=$1 seconds=$2
    shift 2
    local deadline=$((SECONDS + seconds))
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || fail "$what did not happen within $seconds s"
        sleep 0.1
    done
}

# A pseudo-terminal at $1 whose master side socat drains into the file $2.
drainedPty() {
    socat -u "PTY,link=$1,rawer" "OPEN:$2,creat,trunc" &
    drains+=($!)
    await "the pseudo-terminal $1" 10 test -e "$1"
}

settings() { # type, then extra lines
    printf '[parametres]\nTypeLCD=%s\nCOM=1\nC=20\nL=4\ncontrast=50\nbacklight=1\nrefresh=500\n' "$1"
    printf 'scrolling=1\nrep_winamp=\nrep_seti=\nrep_HL=\n'
    shift
    printf '%s\n' "$@"
}

profile=$root/bench/live-page.tlcd

# a) serial panel on a pseudo-terminal
mkdir -p "$work/a" && mkdir -m 0700 "$work/a/run"
drainedPty "$work/a/tty" "$work/a/panel.out"
settings 2 "[ports]" "COM1=$work/a/tty" >"$work/a/param.ini"
XDG_RUNTIME_DIR=$work/a/run QT_QPA_PLATFORM=offscreen \
    "$relayeur" --config-dir "$work/a" --quiet --profile "$profile" --start \
    </dev/null >"$work/a/relayeur.log" 2>&1 &
serialPid=$!
programs+=("$serialPid")

# b) the on-screen panel drawn in a pseudo-terminal
mkdir -p "$work/b" && mkdir -m 0700 "$work/b/run"
drainedPty "$work/b/tty" "$work/b/panel.out"
settings 1 >"$work/b/param.ini"
env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/b/run" \
    "$relayeur" --terminal --config-dir "$work/b" --quiet --profile "$profile" --start \
    </dev/null >"$work/b/tty" 2>"$work/b/relayeur.log" &
terminalPid=$!
programs+=("$terminalPid")

# c) LCDd with its text driver on a free private port, and the lcdproc client
portFree() { ! awk -v p="$(printf '%04X' "$1")" 'NR > 1 { split($2, a, ":"); if (a[2] == p) f = 1 } END { exit !f }' /proc/net/tcp /proc/net/tcp6; }
freePort() {
    local candidate
    for _ in $(seq 1 50); do
        candidate=$((20000 + RANDOM % 40000))
        if portFree "$candidate" && [ "$candidate" != "${port:-}" ]; then
            echo "$candidate"
            return
        fi
    done
    fail "no free port for LCDd"
}
lcddConf() { # port
    cat <<EOF
[server]
DriverPath=$driverPath
Driver=text
Bind=127.0.0.1
Port=$1
ReportLevel=2
ReportToSyslog=no
User=$(id -un)
Foreground=yes
ServerScreen=no
WaitTime=5
FrameInterval=500000

[text]
Size=20x4
EOF
}
# An LCDd drawing into a drained pseudo-terminal of folder $1, on port $2.
startLcdd() {
    lcddConf "$2" >"$1/LCDd.conf"
    drainedPty "$1/tty" "$1/panel.out"
    "$lcdd" -f -c "$1/LCDd.conf" </dev/null >"$1/tty" 2>"$1/LCDd.log" &
    programs+=($!)
    await "LCDd listening on port $2" 10 bash -c "exec 3<>/dev/tcp/127.0.0.1/$2"
}
port=$(freePort)
mkdir -p "$work/c"
cat >"$work/c/lcdproc.conf" <<EOF
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
for screen in CPU Iface Load About SMP-CPU OldTime BigClock Uptime Battery CPUGraph ProcSize Disk MiniClock; do
    printf '\n[%s]\nActive=false\n' "$screen" >>"$work/c/lcdproc.conf"
done
startLcdd "$work/c" "$port"
lcddPid=${programs[-1]}
lcdproc -f -c "$work/c/lcdproc.conf" -s 127.0.0.1 -p "$port" M T \
    </dev/null >"$work/c/lcdproc.log" 2>&1 &
clientPid=$!
programs+=("$clientPid")

# d) Relayeur driving a second LCDd
port2=$(freePort)
mkdir -p "$work/d" && mkdir -m 0700 "$work/d/run"
startLcdd "$work/d" "$port2"
lcdd2Pid=${programs[-1]}
settings 4 "[ports]" "LCDd=127.0.0.1:$port2" >"$work/d/param.ini"
XDG_RUNTIME_DIR=$work/d/run QT_QPA_PLATFORM=offscreen \
    "$relayeur" --config-dir "$work/d" --quiet --profile "$profile" --start \
    </dev/null >"$work/d/relayeur.log" 2>&1 &
viaLcddPid=$!
programs+=("$viaLcddPid")

# e) the window and its on-screen panel on a virtual X display
mkdir -p "$work/e" && mkdir -m 0700 "$work/e/run"
settings 1 >"$work/e/param.ini"
env -u QT_QPA_PLATFORM XDG_RUNTIME_DIR="$work/e/run" \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$relayeur" --config-dir "$work/e" --quiet --profile "$profile" --start \
    </dev/null >"$work/e/relayeur.log" 2>&1 &
xvfbRunPid=$! # ends its X server once the program has ended
await "Relayeur in its window started" 30 pgrep -P "$xvfbRunPid" -x "relayeur(-window)?"
windowPid=$(pgrep -P "$xvfbRunPid" -x "relayeur(-window)?") # the window runs in its place
xvfbPid=$(pgrep -P "$xvfbRunPid" -x Xvfb)
programs+=("$windowPid")

# The Relayeurs are ready once they take a line message (an empty line 3 brings the page's own
# line back at the next page load, so the panel is left as the profile has it).
await "Relayeur on the serial panel answering" 30 \
    env XDG_RUNTIME_DIR="$work/a/run" "$send" "" 0 3
await "Relayeur in the terminal answering" 30 \
    env XDG_RUNTIME_DIR="$work/b/run" "$send" "" 0 3
await "Relayeur via LCDd answering" 30 \
    env XDG_RUNTIME_DIR="$work/d/run" "$send" "" 0 3
await "Relayeur in its window answering" 30 \
    env XDG_RUNTIME_DIR="$work/e/run" "$send" "" 0 3

names=(serial terminal lcdd lcdproc viaLcdd lcdd2 window xvfb)
declare -A pidOf=([serial]=$serialPid [terminal]=$terminalPid [lcdd]=$lcddPid [lcdproc]=$clientPid
    [viaLcdd]=$viaLcddPid [lcdd2]=$lcdd2Pid [window]=$windowPid [xvfb]=$xvfbPid)
ticks=$(getconf CLK_TCK)

cpuTicks() { # utime + stime of a process, in clock ticks
    local stat
    stat=$(cat "/proc/$1/stat") || return 1
    stat=${stat##*) }
    echo "$stat" | awk '{ print $12 + $13 }'
}
rssKib() { awk -v key="$2:" '$1 == key { print $2 }' "/proc/$1/status"; }
# Wake-ups are counted per thread, so that a thread ending during the run (Qt's start-up helpers)
# takes nothing away from the count: each sample adds what every live thread did since the last.
declare -A switchesSeen
countWakeUps() { # name, pid; adds to wake[name]
    local tid value added=0
    for tid in /proc/"$2"/task/*; do
        value=$(awk '$1 == "voluntary_ctxt_switches:" { print $2 }' "$tid/status" 2>/dev/null) || continue
        [ -n "$value" ] || continue
        tid=${tid##*/}
        if [ -n "${switchesSeen[$tid]:-}" ]; then
            added=$((added + value - switchesSeen[$tid]))
        elif [ "${measuring:-0}" = 1 ]; then
            added=$((added + value)) # a thread born during the run
        fi
        switchesSeen[$tid]=$value
    done
    wake[$1]=$((${wake[$1]:-0} + added))
}
alive() {
    local n
    for n in "${names[@]}"; do
        kill -0 "${pidOf[$n]}" 2>/dev/null || fail "$n (pid ${pidOf[$n]}) ended during the run; see $work"
    done
}

sleep "$settle"
alive
declare -A cpu0 wake rssSum rssMax anonSum
measuring=0
for n in "${names[@]}"; do
    cpu0[$n]=$(cpuTicks "${pidOf[$n]}")
    countWakeUps "$n" "${pidOf[$n]}"
    wake[$n]=0
    rssSum[$n]=0
    rssMax[$n]=0
    anonSum[$n]=0
done
lcdprocSum=0
lcdprocAnon=0
lcdprocMax=0
samples=0
measuring=1
start=$EPOCHREALTIME
echo "compare: measuring for $duration s (Relayeur $serialPid serial, $terminalPid terminal, $viaLcddPid via LCDd $lcdd2Pid, $windowPid in its window on Xvfb $xvfbPid; LCDd $lcddPid, lcdproc $clientPid on port $port)"
for ((s = 1; s <= duration; s++)); do
    # Sleep to the next whole second from the start, so that the window lasts exactly SECONDS.
    sleep "$(awk -v a="$EPOCHREALTIME" -v b="$start" -v n="$s" 'BEGIN { d = n - (a - b); print (d > 0 ? d : 0) }')"
    alive
    both=0
    for n in "${names[@]}"; do
        r=$(rssKib "${pidOf[$n]}" VmRSS)
        a=$(rssKib "${pidOf[$n]}" RssAnon)
        countWakeUps "$n" "${pidOf[$n]}"
        rssSum[$n]=$((rssSum[$n] + r))
        anonSum[$n]=$((anonSum[$n] + a))
        if ((r > rssMax[$n])); then rssMax[$n]=$r; fi
        case $n in lcdd | lcdproc)
            both=$((both + r))
            lcdprocAnon=$((lcdprocAnon + a))
            ;;
        esac
    done
    lcdprocSum=$((lcdprocSum + both))
    if ((both > lcdprocMax)); then lcdprocMax=$both; fi
    samples=$((samples + 1))
done
window=$(awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { printf "%.3f", a - b }')
declare -A cpu
for n in "${names[@]}"; do
    cpu[$n]=$(($(cpuTicks "${pidOf[$n]}") - cpu0[$n]))
done

# Each setup must really have driven its panel.
for f in "$work/a/panel.out" "$work/b/panel.out" "$work/c/panel.out" "$work/d/panel.out"; do
    [ -s "$f" ] || fail "nothing reached the panel in $f"
done
outBytes() { stat -c %s "$1"; }

row() { # label, cpu ticks, rss sum, rss max, private rss sum, wake-ups
    awk -v l="$1" -v c="$2" -v hz="$ticks" -v w="$window" -v sum="$3" -v n="$samples" -v max="$4" \
        -v anon="$5" -v wake="$6" \
        'BEGIN { printf "%-30s %7.2f %8.2f %9.1f %8.1f %9.2f %9.1f\n", l, c / hz, c / hz / w * 100,
                 sum / n / 1024, max / 1024, anon / n / 1024, wake / w }'
}
lcdprocTicks=$((cpu[lcdd] + cpu[lcdproc]))
lcdprocWake=$((wake[lcdd] + wake[lcdproc]))
echo
echo "Same run, ${window} s, $samples samples, $(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%-30s %7s %8s %9s %8s %9s %9s\n' "" "CPU s" "% core" "RSS mean" "RSS max" "private" "wake-ups"
printf '%-30s %7s %8s %9s %8s %9s %9s\n' "" "" "" "MiB" "MiB" "MiB" "per s"
for n in "${names[@]}"; do
    set -- "${cpu[$n]}" "${rssSum[$n]}" "${rssMax[$n]}" "${anonSum[$n]}" "${wake[$n]}"
    case $n in
    serial) row "a) Relayeur, serial pty" "$@" ;;
    terminal) row "b) Relayeur --terminal" "$@" ;;
    lcdd) lcddRow=$(row "   LCDd (text driver)" "$@") ;;
    lcdproc) clientRow=$(row "   lcdproc (M, T)" "$@") ;;
    viaLcdd) viaRow=$(row "d) Relayeur via LCDd" "$@") ;;
    lcdd2) lcdd2Row=$(row "   its LCDd (text driver)" "$@") ;;
    window) windowRow=$(row "e) Relayeur in its window" "$@") ;;
    xvfb) xvfbRow=$(row "   its X server (Xvfb)" "$@") ;;
    esac
done
row "c) LCDd + lcdproc" "$lcdprocTicks" "$lcdprocSum" "$lcdprocMax" "$lcdprocAnon" "$lcdprocWake"
echo "$lcddRow"
echo "$clientRow"
echo "$viaRow"
echo "$lcdd2Row"
echo "$windowRow"
echo "$xvfbRow"
echo
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "n/a" }'; }
printf 'Relayeur/LCDproc    CPU    RSS mean  private  wake-ups\n'
declare -A ratioLabel=([serial]="a) serial" [terminal]="b) --terminal" [viaLcdd]="d) via LCDd"
    [window]="e) window")
for n in serial terminal viaLcdd window; do
    printf '%-19s %-6s %-9s %-8s %s\n' "${ratioLabel[$n]}" \
        "$(ratio "${cpu[$n]}" "$lcdprocTicks")" "$(ratio "${rssSum[$n]}" "$lcdprocSum")" \
        "$(ratio "${anonSum[$n]}" "$lcdprocAnon")" "$(ratio "${wake[$n]}" "$lcdprocWake")"
done
echo
echo "Bytes sent to the panels: serial $(outBytes "$work/a/panel.out"), terminal $(outBytes "$work/b/panel.out"), LCDd text $(outBytes "$work/c/panel.out"), LCDd text via Relayeur $(outBytes "$work/d/panel.out")"
echo "CPU time has a resolution of 1/$ticks s per process."
