#!/usr/bin/env bash
# Each translation matches the sources: lupdate run over the tree adds no text left to translate
# and finds no text gone from the sources. And no French text of the programs escapes
# translation: each is named with its file and line.
# Usage: check-translations.sh SOURCE_DIR LUPDATE
set -euo pipefail
root=$1
lupdate=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

for ts in "$root"/translations/relayeur_*.ts; do
    copy=$work/$(basename "$ts")
    cp "$ts" "$copy"
    "$root/scripts/update-translations.sh" --lupdate "$lupdate" --keep-obsolete "$copy"
    # The texts of the entries lupdate marked, one a line.
    python3 - "$copy" <<'PY' >"$work/marked.txt"
import sys
import xml.etree.ElementTree as ET
for context in ET.parse(sys.argv[1]).getroot():
    for message in context.iter("message"):
        kind = message.find("translation").get("type")
        if kind in ("unfinished", "vanished", "obsolete"):
            source = message.find("source").text.replace("\n", "\\n")
            word = "à traduire" if kind == "unfinished" else "disparu des sources"
            print(f"{context.find('name').text} : « {source} » ({word})")
PY
    if [ -s "$work/marked.txt" ]; then
        echo "ÉCHEC : $(basename "$ts") ne suit pas les sources (scripts/update-translations.sh) :" >&2
        cat "$work/marked.txt" >&2
        failures=$((failures + 1))
    fi
done

python3 "$root/tests/translations/french-literals.py" "$root" src tools \
    --skip tools/emulated-devices tools/relayeur-icons || failures=$((failures + 1))
exit $((failures > 0))
