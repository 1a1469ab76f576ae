#!/usr/bin/env bash
# Installs what is missing, builds Relayeur with relayeur-send and relayeur-sensors, and runs it.
# Without arguments it opens the bundled demo, whose settings have Relayeur start relayeur-sensors
# beside it; with arguments they are passed to relayeur as they are (see ./run.sh --help).
set -euo pipefail
cd "$(dirname "$0")"
. scripts/ensure-packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target relayeur relayeur-send relayeur-sensors -j"$(nproc)"

args=("$@")
if [ ${#args[@]} -eq 0 ]; then
    # The demo gets its own settings directory, so that the recent list it writes stays out of
    # the source tree and out of the user's own settings; it is made again when the example
    # settings have changed since.
    demo=build/demo
    if [ ! -f "$demo/param.ini" ] || [ examples/param.ini -nt "$demo/param.ini" ]; then
        mkdir -p "$demo"
        cp examples/param.ini "$demo/param.ini"
        {
            echo
            echo "[recent_profile]"
            i=1
            for profile in "$PWD"/examples/*.tlcd; do
                echo "$i=$profile"
                i=$((i + 1))
            done
        } >>"$demo/param.ini"
    fi
    args=(--config-dir "$demo" --profile examples/demo.tlcd --start)
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "Pas d'écran graphique : l'afficheur est dessiné ici, dans le terminal (Ctrl+C pour quitter)."
    args+=(--terminal)
fi
status=0
./build/relayeur "${args[@]}" || status=$?
exit "$status"
