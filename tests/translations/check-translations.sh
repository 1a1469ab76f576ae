#!/usr/bin/env bash
# Each translation matches the sources: lupdate over the tree marks no text as still to translate
# nor as gone from the sources. No French text of the programs escapes translation either.
# Usage: check-translations.sh SOURCE_DIR LUPDATE
set -euo pipefail
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
for ts in "$root"/translations/relayeur_*.ts; do
    cp "$ts" "$work/"
    "$root/scripts/update-translations.sh" --lupdate "$2" --keep-obsolete "$work/${ts##*/}"
    if grep -qE 'type="(unfinished|vanished|obsolete)"' "$work/${ts##*/}"; then
        echo "ÉCHEC : ${ts##*/} ne suit pas les sources (scripts/update-translations.sh) :" >&2
        # Each marked entry on one line: its mark, then its French text.
        tr -d '\n' <"$work/${ts##*/}" | grep -oE '<source>[^<]*</source>\s*<translation type="[a-z]+"' |
            sed -E 's|<source>(.*)</source>.*type="(.*)"|\2 : \1|' >&2 || true
        failures=$((failures + 1))
    fi
done
python3 "$root/tests/translations/french-literals.py" "$root" || failures=$((failures + 1))
exit $((failures > 0))
