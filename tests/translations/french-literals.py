#!/usr/bin/env python3
"""Lists the French string literals of the programs' C++ files (src/ and tools/ under ROOT, not
the developers' tools) that no translation call takes in: the innermost call around them is not
tr, translate or QT_TRANSLATE_NOOP. A line marked "texte du format" holds texts of a file
format, a protocol or the panel, which stay French. Usage: french-literals.py ROOT"""
import pathlib
import re
import sys

TRANSLATING = {"tr", "translate", "QT_TR_NOOP", "QT_TRANSLATE_NOOP"}
FRENCH = re.compile(r"[àâçéèêëîïôùûüœÀÇÉÈÊ«»]|(?<![\w-])(le|la|les|des|du|une|un|est|pas|aucun|avec|"
                    r"sans|dans|pour|sur|fichier|dossier|erreur|introuvable|ligne|ou|et|ni)(?![\w-])",
                    re.IGNORECASE)
SKIPPED = ("tools/emulated-devices/", "tools/relayeur-icons/")
TOKEN = re.compile(r'//[^\n]*|/\*.*?\*/|#include[^\n]*|R"(\w*)\((.*?)\)\1"|"((?:\\.|[^"\\])*)"|'
                   r"'(?:\\.|[^'\\])*'|(\w+)|([()])", re.S)


def untranslated(text):
    """Yields (line, literal) for each literal outside a translation call."""
    calls, word = [], ""
    for m in TOKEN.finditer(text):
        literal = m.group(2) if m.group(2) is not None else m.group(3)
        if literal is not None:
            if not calls or calls[-1] not in TRANSLATING:
                yield text.count("\n", 0, m.start()) + 1, literal
        elif m.group(4):
            word = m.group(4)
            continue
        elif m.group(5) == "(":
            calls.append(word)
        elif m.group(5) == ")" and calls:
            calls.pop()
        word = ""


root = pathlib.Path(sys.argv[1])
found = 0
for path in sorted(p for d in ("src", "tools") for p in (root / d).rglob("*.[ch]*")):
    name = path.relative_to(root).as_posix()
    if path.suffix not in (".cpp", ".h") or name.startswith(SKIPPED):
        continue
    text = path.read_text(encoding="utf-8")
    lines = text.split("\n")
    for line, literal in untranslated(text):
        if FRENCH.search(literal) and "texte du format" not in lines[line - 1]:
            print(f'{name}:{line}: "{literal}"')
            found += 1
sys.exit(1 if found else 0)
