#!/usr/bin/env bash
# Installs the build into a scratch folder, as a package would under /usr, and checks what a user
# gets: every file in its place, the menu entries and AppStream metadata valid, the manual pages
# rendering without a warning, the service sound, and the installed programs running from there
# (the first run filling the settings folder from the installed share/relayeur).
# Usage: check-install.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
# The programs speak French here, whatever the language of the user running the check.
export LC_ALL=C.UTF-8
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dest=$work/dest
failures=0
fail() {
    echo "ÉCHEC : $*" >&2
    failures=$((failures + 1))
}

DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
usr=$dest/usr
expected=(
    bin/relayeur bin/relayeur-send bin/relayeur-sensors
    libexec/relayeur/relayeur-window libexec/relayeur/relayeur-mpris.so
    libexec/relayeur/relayeur-mqtt.so
    include/relayeur/hlinfo.h
    lib/systemd/user/relayeur-sensors.service
    share/applications/relayeur.desktop
    share/metainfo/io.github.relayeur.Relayeur.metainfo.xml
    share/icons/hicolor/scalable/apps/relayeur.svg
    share/man/man1/relayeur.1.gz share/man/man1/relayeur-send.1.gz
    share/man/man1/relayeur-sensors.1.gz
    share/relayeur/param.ini share/relayeur/sensors.ini share/relayeur/demo.tlcd
    share/relayeur/horloge.tlcd share/relayeur/programmes.tlcd share/relayeur/systeme.tlcd
    share/relayeur/autostart/relayeur.desktop share/relayeur/translations/relayeur_en.qm
    share/doc/relayeur/copyright share/doc/relayeur/changelog.gz share/doc/relayeur/README.md
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x$size/apps/relayeur.png")
done
for file in "${expected[@]}"; do
    [ -f "$usr/$file" ] || fail "$file n'est pas installé"
done
# Nothing more than that list, so that a package holds no stray file.
extra=$(cd "$usr" && find . -type f | sed 's|^\./||' | LC_ALL=C sort |
    LC_ALL=C comm -23 - <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort))
[ -z "$extra" ] || fail "installés en trop : $extra"

# Each icon has the size of its folder (width and height from the PNG header), those installed
# and those the build's relayeur-icons draws again; it says when it cannot write them.
pngSize() { od -An -tu1 -j16 -N8 "$1" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }'; }
"$build/tools/relayeur-icons" "$work/icons" 16 256 || fail "relayeur-icons n'a rien écrit"
for png in "$usr"/share/icons/hicolor/*x*/apps/relayeur.png "$work"/icons/hicolor/*x*/apps/relayeur.png; do
    folder=${png%/apps/*}
    [ "$(pngSize "$png")" = "${folder##*/}" ] || fail "$png mesure $(pngSize "$png")"
done
[ -s "$work/icons/hicolor/scalable/apps/relayeur.svg" ] || fail "relayeur-icons n'a pas écrit le SVG"
said=$("$build/tools/relayeur-icons" /proc/relayeur 16 2>&1) && fail "relayeur-icons écrit dans /proc"
[[ $said == *"impossible d'écrire les icônes dans /proc/relayeur"* ]] ||
    fail "relayeur-icons ne dit pas qu'il n'a pas pu écrire : $said"

for entry in share/applications/relayeur.desktop share/relayeur/autostart/relayeur.desktop; do
    desktop-file-validate "$usr/$entry" || fail "$entry refusé par desktop-file-validate"
done
grep -qx 'Exec=relayeur --minimized' "$usr/share/relayeur/autostart/relayeur.desktop" ||
    fail "l'entrée de démarrage ne lance pas relayeur --minimized"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.relayeur.Relayeur.metainfo.xml" \
    >"$work/appstream.txt" || fail "métadonnées AppStream refusées : $(cat "$work/appstream.txt")"

for page in relayeur relayeur-send relayeur-sensors; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$usr/share/man/man1/$page.1.gz" \
        2>"$work/man-warnings.txt")
    [ ! -s "$work/man-warnings.txt" ] || fail "$page.1 : $(cat "$work/man-warnings.txt")"
    grep -q "^EXIT STATUS" <<<"$text" || fail "$page.1 n'a pas de section EXIT STATUS"
done

# The unit as systemd reads it, its program and manual taken from the scratch installation.
sed "s|^ExecStart=/usr/|ExecStart=$usr/|" "$usr/lib/systemd/user/relayeur-sensors.service" \
    >"$work/relayeur-sensors.service"
MANPATH=$usr/share/man systemd-analyze verify "$work/relayeur-sensors.service" ||
    fail "systemd-analyze refuse relayeur-sensors.service"
grep -qx "ExecStart=/usr/bin/relayeur-sensors" "$usr/lib/systemd/user/relayeur-sensors.service" ||
    fail "le service ne lance pas /usr/bin/relayeur-sensors"

# Installed for one account under ~/.local, the unit goes where that user's systemd looks.
home=$work/home
env -u XDG_DATA_HOME HOME="$home" cmake --install "$build" --prefix "$home/.local" >/dev/null
unit=
for dir in $(env -u XDG_DATA_HOME HOME="$home" systemd-analyze --user unit-paths); do
    if [ -f "$dir/relayeur-sensors.service" ]; then
        unit=$dir
        break
    fi
done
[ "$unit" = "$home/.local/share/systemd/user" ] ||
    fail "installé sous ~/.local, le service n'est pas là où systemctl --user le cherche : $unit"

[ "$("$usr/bin/relayeur" --version)" = "relayeur $version" ] || fail "relayeur --version"
# The terminal's program leaves the graphical and D-Bus parts of Qt to the window and the module;
# none of the programs loads Qt Network or Qt SerialPort: sockets and serial lines are its own.
needed=$(readelf -d "$usr/bin/relayeur" | grep -o 'libQt6[A-Za-z]*' | tr '\n' ' ')
[[ ! $needed =~ Gui|Widgets|DBus ]] || fail "bin/relayeur charge $needed"
for program in "$usr"/bin/relayeur* "$usr"/lib*/relayeur/*; do
    ! readelf -d "$program" | grep -q -E 'libQt6(Network|SerialPort)' ||
        fail "$program charge Qt Network ou Qt SerialPort"
done
"$usr/bin/relayeur-sensors" --list --config "$work/none.ini" | grep -q "^Capteurs vus par libsensors" ||
    fail "relayeur-sensors --list ne lit pas libsensors"

# Runs the installed relayeur with these options until it prints a line that matches the
# pattern $1, then runs the check $2 with its process id (the line is in $seen) and ends it.
untilLine() {
    local wanted=$1 check=$2 seen= line
    shift 2
    rm -rf "$work/run" && mkdir -m 0700 "$work/run"
    coproc RELAYEUR {
        XDG_CONFIG_HOME=$work/config XDG_RUNTIME_DIR=$work/run QT_QPA_PLATFORM=offscreen \
            exec "$usr/bin/relayeur" --print-log "$@" 2>&1
    }
    # Kept apart: bash forgets them once the program has ended.
    local output=${RELAYEUR[0]:-} relayeur=${RELAYEUR_PID:-}
    while [ -n "$output" ] && IFS= read -r -t 30 line <&"$output"; do
        # shellcheck disable=SC2053 # a pattern
        if [[ $line == $wanted ]]; then
            seen=$line
            "$check" "$relayeur"
            break
        fi
    done
    # Closed first, so that Relayeur never waits on a full pipe instead of taking the signal.
    [ -z "$output" ] || exec {output}<&-
    kill "$relayeur" 2>/dev/null || true
    wait "$relayeur" 2>/dev/null || true
    [ -n "$seen" ] || fail "relayeur${*:+ $*} n'a jamais écrit « $wanted »"
}
isWindow() {
    [ "$(readlink "/proc/$1/exe")" = "$usr/libexec/relayeur/relayeur-window" ] ||
        fail "relayeur n'a pas lancé la fenêtre installée : $(readlink "/proc/$1/exe")"
}
hasMediaModule() {
    grep -q "$usr/libexec/relayeur/relayeur-mpris.so" "/proc/$1/maps" ||
        fail "le module du lecteur multimédia n'est pas chargé"
}
hasMqttModule() {
    grep -q "$usr/libexec/relayeur/relayeur-mqtt.so" "/proc/$1/maps" ||
        fail "le module MQTT n'est pas chargé"
}
nothing() { :; }

# A first run of the installed program, with its window or in the terminal, fills the settings
# folder from the installed files.
firstRun="Premier lancement : * de $usr/share/relayeur"
untilLine "$firstRun" isWindow
rm -rf "$work/config"
untilLine "$firstRun" nothing --terminal
for file in param.ini demo.tlcd horloge.tlcd programmes.tlcd systeme.tlcd; do
    [ -f "$work/config/relayeur/$file" ] || fail "premier lancement : $file non copié"
done
# An English user's programs find the installed translation, from bin/ and from the helpers'
# folder.
usage=$(LC_ALL='' LANG=en_US.UTF-8 "$usr/bin/relayeur" --help 2>/dev/null | head -n 1)
[ "$usage" = "Usage: relayeur [options]" ] || fail "relayeur --help en anglais : $usage"
rm -rf "$work/config"
LC_ALL='' LANG=en_US.UTF-8 untilLine "First run: * of $usr/share/relayeur" isWindow
# The default settings have the installed relayeur start the relayeur-sensors beside it, unless
# the sensor block is published already.
sensorsFound() {
    [[ $seen != *introuvable* ]] || fail "relayeur ne trouve pas relayeur-sensors : $seen"
    # Without [mqtt], neither libmosquitto nor the TLS libraries take any memory.
    ! grep -q -E 'libmosquitto|libssl' "/proc/$1/maps" || fail "libmosquitto chargée sans [mqtt]"
}
# The default settings name a broker: taken out here, then pointed where none answers.
settings=$work/config/relayeur/param.ini
withoutMqtt=$(awk '/^\[/ { skip = ($0 == "[mqtt]") } !skip' "$settings")
printf '%s\n' "$withoutMqtt" >"$settings"
untilLine "Capteurs : *" sensorsFound --terminal
# The media variables load the installed module on the panel's first refresh.
untilLine "│Piste *" hasMediaModule --terminal --profile "$work/config/relayeur/programmes.tlcd" \
    --start
# [mqtt] loads the installed MQTT module, which says when the broker cannot be reached.
printf '[mqtt]\nserveur=127.0.0.1:1\n' >>"$settings"
untilLine "Serveur MQTT 127.0.0.1:1 injoignable : *" hasMqttModule --terminal

[ "$failures" -eq 0 ] || exit 1
echo "Installation vérifiée : ${#expected[@]} fichiers."
