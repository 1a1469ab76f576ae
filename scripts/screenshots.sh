#!/usr/bin/env bash
# Makes the README's pictures from the build, so they never show an older program: the window
# with the demo on its on-screen panel (relayeur.png) and the profile editor on the demo
# (editeur.png), each run under its own Xvfb, in French, the program's own language.
#   scripts/screenshots.sh [BUILD_DIR [OUT_DIR]]     (defaults: build, doc)
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/ensure-packages.sh
# Xvfb draws the windows, xwd takes them and netpbm makes PNGs of them; the locale's sources
# give the French dates.
ensure_packages "${BUILD_PACKAGES[@]}" xvfb x11-apps x11-utils netpbm locales

build=$(realpath -m "${1:-build}")
out=$(realpath -m "${2:-doc}")
root=$PWD
if [ ! -x "$build/relayeur" ] || [ ! -x "$build/relayeur-window" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target relayeur relayeur-window -j"$(nproc)"
fi
mkdir -p "$out"

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# The demo's settings, without the sensors publisher and the LCDd server: a picture needs neither,
# and a port taken by another program must not change it.
mkdir -m 0700 "$work/config" "$work/run"
{
    grep -v -e '^capteurs=' -e '^LCDd=' examples/param.ini
    printf '\n[recent_profile]\n1=%s\n' "$root/examples/demo.tlcd"
} >"$work/config/param.ini"
# localedef warns about the locale's sources and says so in its status; the result is what counts.
mkdir -p "$work/locale/fr_FR.UTF-8"
localedef -i fr_FR -f UTF-8 "$work/locale/fr_FR.UTF-8" >/dev/null 2>&1 || true
[ -e "$work/locale/fr_FR.UTF-8/LC_TIME" ] || { echo "screenshots.sh : locale fr_FR introuvable" >&2; exit 1; }

freeDisplay() {
    local n
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            echo ":$n"
            return
        fi
    done
    echo "screenshots.sh : aucun écran X libre de :90 à :140" >&2
    exit 1
}

# The id of the first top-level window whose title holds $1, once it is mapped.
windowId() {
    xwininfo -root -tree 2>/dev/null | grep -F "\"" | grep -F -- "$1" | grep -v '(has no name)' |
        awk '{print $1; exit}'
}

# Runs relayeur with the arguments after the first two, waits for the window titled $2, lets
# the demo's page scroll in for a moment and writes the window into $1.
shoot() {
    local picture=$1 title=$2
    shift 2
    local display
    display=$(freeDisplay)
    Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
    local xvfb=$!
    pids+=("$xvfb")
    local tries=0
    until DISPLAY=$display xwininfo -root >/dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -lt 100 ] || { echo "screenshots.sh : Xvfb ne démarre pas" >&2; exit 1; }
        sleep 0.1
    done
    env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY="$display" HOME="$work" \
        XDG_RUNTIME_DIR="$work/run" LANG=fr_FR.UTF-8 LANGUAGE= LC_ALL= LOCPATH="$work/locale" \
        TZ=Europe/Paris "$build/relayeur" --config-dir "$work/config" --quiet "$@" \
        >/dev/null 2>&1 &
    local program=$!
    pids+=("$program")
    local id=""
    tries=0
    while [ -z "$id" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 200 ] || { echo "screenshots.sh : pas de fenêtre « $title »" >&2; exit 1; }
        sleep 0.1
        id=$(DISPLAY=$display windowId "$title" || true)
    done
    # The start-up log's pauses, then a few refreshes of the page.
    sleep 4
    DISPLAY=$display xwd -silent -id "$id" | xwdtopnm 2>/dev/null | pnmtopng >"$picture.new"
    mv "$picture.new" "$picture"
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
    echo "$picture"
}

demo="$root/examples/demo.tlcd"
shoot "$out/relayeur.png" "TLCD - Relayeur" --profile "$demo" --start
shoot "$out/editeur.png" "demo.tlcd" --profile "$demo" --start --editer "$demo"
