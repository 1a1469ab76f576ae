#!/usr/bin/env bash
# Long run of Relayeur under load, to see whether its memory keeps growing.
#
#   bench/soak.sh [SECONDS [CSV]]        (defaults: 1800 s, build-bench/soak-rss.csv)
#   bench/soak.sh --all [SECONDS [CSV]]  (defaults: 3600 s, build-bench/soak-all.csv)
#
# The program runs in its own window on a virtual X display (xvfb-run; SOAK_PLATFORM=offscreen
# uses Qt's offscreen platform instead) with bench/soak.tlcd: four pages of one second that loop,
# lines scrolling in every mode, bargraphs and the big clock, the refresh at its fastest (50 ms).
# Meanwhile relayeur-send puts a line message on the panel every 200 ms. VmRSS is sampled every
# 5 s into the CSV. At the end the program must still answer a line message and end cleanly on
# SIGTERM, and the memory after warm-up must not grow beyond the threshold: exit 0 for PASS,
# 1 for FAIL.
#
# Environment: RELAYEUR_BUILD (default build-bench), SOAK_WARMUP (s, default 60),
# SOAK_THRESHOLD_KIB (default 2048), SOAK_PLATFORM (xvfb or offscreen).
#
# --all puts everything on the program at once (bench/soak-all.py): a serial panel on a
# pseudo-terminal refreshed every 50 ms and timed frame by frame, the window beside it, 20 LCDd
# clients that come and go (four stop reading), a line message every 200 ms (some held, some
# refused on purpose), MQTT values and line messages through a mosquitto broker restarted every
# SOAK_BROKER_PERIOD s (default 300), a [valeurs] command that hangs past its limit one run in
# four, the serial device taken away and back every SOAK_DEVICE_PERIOD s (600) and
# relayeur-sensors killed and restarted every SOAK_SENSORS_PERIOD s (420). One row of figures a
# minute; PASS needs memory flat after warm-up, descriptors (LCDd clients aside) within
# SOAK_FD_MARGIN (6) of their level after warm-up, every line message taken or refused with a
# reason, no frame gap over 100 ms (except across the device's absences), no sanitizer report
# and a clean exit on SIGTERM. On the sanitizer build (RELAYEUR_BUILD=build-san, or
# SOAK_SANITIZER=1) the memory is shown but not judged. SOAK_PLATFORM=terminal runs it without its
# window (relayeur --terminal); SOAK_LCDD_CLIENTS (20) sizes the crowd of LCDd clients.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

if [ "${1:-}" = --all ]; then
    shift
    build=${RELAYEUR_BUILD:-build-bench}
    case "$build" in *san*) export SOAK_SANITIZER=${SOAK_SANITIZER:-1} ;; esac
    . scripts/ensure-packages.sh
    ensure_packages python3 procps xvfb xauth mosquitto mosquitto-clients
    . bench/require-built.sh
    require_built soak "$build" "$root/$build/relayeur" "$root/$build/relayeur-window" \
        "$root/$build/relayeur-send" "$root/$build/relayeur-sensors"
    csv=${2:-$build/soak-all.csv}
    mkdir -p "$(dirname "$csv")"
    # As in test.sh; the sanitizers report into the program's output, which the driver reads.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    exec python3 bench/soak-all.py "$root/$build" "${1:-3600}" "$csv"
fi

duration=${1:-1800}
build=${RELAYEUR_BUILD:-build-bench}
csv=${2:-$build/soak-rss.csv}
warmup=${SOAK_WARMUP:-60}
threshold=${SOAK_THRESHOLD_KIB:-2048}
platform=${SOAK_PLATFORM:-xvfb}
interval=5

. scripts/ensure-packages.sh
ensure_packages procps xvfb xauth
relayeur=$root/$build/relayeur
send=$root/$build/relayeur-send
. bench/require-built.sh
require_built soak "$build" "$relayeur" "$send"
if [ "$duration" -lt $((warmup + 4 * interval)) ]; then
    echo "soak: $duration s leaves too few samples after the ${warmup} s warm-up" >&2
    exit 2
fi

work=$(mktemp -d /tmp/relayeur-soak.XXXXXX)
mkdir -m 0700 "$work/run"
cat >"$work/param.ini" <<'EOF'
[parametres]
TypeLCD=1
COM=1
C=20
L=4
contrast=50
backlight=1
refresh=50
scrolling=1
rep_winamp=
rep_seti=
rep_HL=
EOF
export XDG_RUNTIME_DIR=$work/run

launcher=""
pid=""
sender=""
cleanup() {
    [ -n "$sender" ] && kill "$sender" 2>/dev/null
    # Under xvfb-run the program is ended, not xvfb-run: it then stops its X server itself.
    if [ -n "$launcher" ] && [ -z "$pid" ]; then
        pid=$(pgrep -P "$launcher" -x "relayeur(-window)?" || true)
    fi
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    if [ -n "$launcher" ]; then
        local waited=0
        while kill -0 "$launcher" 2>/dev/null && [ $waited -lt 100 ]; do
            sleep 0.1
            waited=$((waited + 1))
        done
        kill "$launcher" 2>/dev/null
    fi
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

args=(--config-dir "$work" --quiet --profile "$root/bench/soak.tlcd" --start)
if [ "$platform" = offscreen ]; then
    QT_QPA_PLATFORM=offscreen "$relayeur" "${args[@]}" >"$work/relayeur.log" 2>&1 &
    pid=$!
    launcher=$pid
else
    env -u QT_QPA_PLATFORM xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" \
        "$relayeur" "${args[@]}" >"$work/relayeur.log" 2>&1 &
    launcher=$!
fi
start=$EPOCHREALTIME

# The program is up once it takes a line message; under xvfb-run it is the launcher's child.
elapsed() { awk -v a="$EPOCHREALTIME" -v b="$start" 'BEGIN { printf "%.1f", a - b }'; }
deadline=$((SECONDS + 60))
until [ -n "$pid" ] && "$send" "Soak" 0 0 >/dev/null 2>&1; do
    if [ -z "$pid" ]; then
        pid=$(pgrep -P "$launcher" -x "relayeur(-window)?" || true)
    fi
    if [ $SECONDS -ge $deadline ] || ! kill -0 "$launcher" 2>/dev/null; then
        echo "soak: Relayeur did not come up; its output:" >&2
        cat "$work/relayeur.log" >&2
        exit 1
    fi
    sleep 0.1
done
echo "soak: Relayeur $pid up after $(elapsed) s ($platform), running ${duration} s"

# Line messages every 200 ms: fixed, scrolling and bargraph lines, with and without variables.
messages=(
    "Message %%time|0|0"
    "Un message trop long pour l'afficheur, qui fait des allers-retours|1|1"
    "Vers la gauche, encore un message trop long pour vingt colonnes|2|2"
    "Vers la droite, et un dernier message trop long pour le panneau|3|3"
    "0 100 BAR Message|4|3"
    "Libre %%mem_l Mo|0|2"
    "|0|1"
)
(
    trap 'exit 0' TERM
    i=0
    while true; do
        IFS='|' read -r text mode line <<<"${messages[i % ${#messages[@]}]}"
        text=${text//BAR/$((i % 101))}
        rc=0
        "$send" "$text" "$mode" "$line" >/dev/null 2>&1 || rc=$?
        echo "$rc" >>"$work/sends"
        i=$((i + 1))
        sleep 0.2
    done
) &
sender=$!

# Samples on a 5 s grid from the program's start: seconds, resident KiB, open descriptors,
# threads, processor seconds used.
mkdir -p "$(dirname "$csv")"
echo "seconds,rss_kib,fds,threads,cpu_s" >"$csv"
ticks=$(getconf CLK_TCK)
sample() {
    local rss threads stat cpu fds
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status")
    threads=$(awk '/^Threads:/ { print $2 }' "/proc/$pid/status")
    stat=$(cat "/proc/$pid/stat")
    stat=${stat##*) }
    cpu=$(echo "$stat" | awk -v hz="$ticks" '{ printf "%.2f", ($12 + $13) / hz }')
    fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
    echo "$(elapsed),$rss,$fds,$threads,$cpu" >>"$csv"
}
next=$interval
end=$((duration))
while true; do
    if ! kill -0 "$pid" 2>/dev/null; then
        echo "soak: FAIL, Relayeur ended during the run; its output:" >&2
        cat "$work/relayeur.log" >&2
        exit 1
    fi
    sample
    [ "$next" -gt "$end" ] && break
    # Sleep to the next point of the grid, so that the samples do not drift.
    wait_s=$(awk -v a="$EPOCHREALTIME" -v b="$start" -v n="$next" 'BEGIN { d = n - (a - b); print (d > 0 ? d : 0) }')
    sleep "$wait_s"
    next=$((next + interval))
done

kill "$sender" 2>/dev/null || true
wait "$sender" 2>/dev/null || true
sender=""

# Still alive and answering at the end, then a clean way out.
verdict=PASS
reasons=()
if "$send" "Fin du test" 0 0 >/dev/null 2>&1; then
    answering=yes
else
    answering=no
    verdict=FAIL
    reasons+=("no answer to a line message at the end")
fi
kill -TERM "$pid"
status=0
if [ "$platform" = offscreen ]; then
    wait "$pid" || status=$?
else
    # xvfb-run hands back the program's exit status once it has stopped its X server.
    wait "$launcher" || status=$?
fi
pid=""
launcher=""
if [ "$status" -ne 0 ]; then
    verdict=FAIL
    reasons+=("exit status $status on SIGTERM")
fi
sent=$(wc -l <"$work/sends")
taken=$(grep -c '^0$' "$work/sends" || true)

report=$(awk -F, -v warmup="$warmup" -v threshold="$threshold" '
    NR == 1 { next }
    { t = $1; r = $2; if (r > max) max = r; last = r; lastT = t }
    t >= warmup {
        if (!have) { warmRss = r; warmT = t; have = 1 }
        n++; sx += t; sy += r; sxx += t * t; sxy += t * r
        if (!minSet || r < minPost) { minPost = r; minSet = 1 }
        if (r > maxPost) maxPost = r
    }
    END {
        slope = (n > 1) ? (n * sxy - sx * sy) / (n * sxx - sx * sx) * 3600 : 0
        growth = last - warmRss
        trend = slope * (lastT - warmT) / 3600
        # Rounded here, so that a flat run reads 0 rather than -0.
        slope = int(slope + (slope < 0 ? -0.5 : 0.5))
        trend = int(trend + (trend < 0 ? -0.5 : 0.5))
        printf "warmup_t=%s warmup_rss=%d final_rss=%d max_rss=%d post_min=%d post_max=%d growth=%d slope=%d trend=%d samples=%d\n",
            warmT, warmRss, last, max, minPost, maxPost, growth, slope, trend, n
    }' "$csv")
eval "$report"
if [ "$growth" -gt "$threshold" ] || [ "$trend" -gt "$threshold" ]; then
    verdict=FAIL
    reasons+=("memory grew beyond ${threshold} KiB after warm-up")
fi

echo
echo "Soak: ${duration} s, refresh 50 ms, a line message every 200 ms ($taken of $sent taken), $platform"
echo "  samples every ${interval} s in $csv"
printf '  %-34s %8s KiB\n' "RSS after warm-up (${warmup_t} s)" "$warmup_rss" \
    "RSS at the end" "$final_rss" \
    "RSS max (whole run)" "$max_rss" \
    "RSS range after warm-up" "$post_min-$post_max" \
    "growth after warm-up" "$growth"
printf '  %-34s %8s KiB/h  (%s KiB over the run after warm-up)\n' "least-squares slope" "$slope" "$trend"
echo "  still answering line messages at the end: $answering; exit status on SIGTERM: $status"
echo "  threshold: growth and trend within ${threshold} KiB"
if [ "$verdict" = PASS ]; then
    echo "Verdict: PASS"
    exit 0
fi
echo "Verdict: FAIL (${reasons[*]})"
exit 1
