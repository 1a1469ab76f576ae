#!/usr/bin/env bash
# Brings each translations/relayeur_<language>.ts in step with the texts of the sources (the
# programs' C++ files and the .ui forms): new texts come in to be translated, texts gone from the
# sources go. No source locations are kept, so the files change only when the texts do.
# Usage: update-translations.sh [--lupdate PROGRAM] [--keep-obsolete] [TS_FILE...]
#   --keep-obsolete  marks texts gone from the sources instead of dropping them (for the check)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
lupdate=/usr/lib/qt6/bin/lupdate
obsolete=(-no-obsolete)
files=()
while [ $# -gt 0 ]; do
    case $1 in
        --lupdate) lupdate=$2; shift 2 ;;
        --keep-obsolete) obsolete=(); shift ;;
        *) files+=("$1"); shift ;;
    esac
done
if [ "$lupdate" = /usr/lib/qt6/bin/lupdate ]; then
    . "$root/scripts/ensure-packages.sh"
    ensure_packages qt6-l10n-tools
fi
if [ ${#files[@]} -eq 0 ]; then
    files=("$root"/translations/relayeur_*.ts)
fi
# The developers' tools (emulated devices, the icon writer) speak to developers only.
sources=$(mktemp)
trap 'rm -f "$sources"' EXIT
(cd "$root" && find src tools \( -path tools/emulated-devices -o -path tools/relayeur-icons \) \
    -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.ui' \) -print | LC_ALL=C sort |
    sed "s|^|$root/|") >"$sources"
for ts in "${files[@]}"; do
    language=$(basename "$ts" .ts)
    language=${language#relayeur_}
    "$lupdate" -silent -I "$root/src" -I "$root/tools" -I "$root/tools/relayeur-sensors" -locations none "${obsolete[@]}" -source-language fr_FR \
        -target-language "$language" "@$sources" -ts "$ts"
done
