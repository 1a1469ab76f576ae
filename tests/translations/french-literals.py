#!/usr/bin/env python3
"""Lists the French string literals of C++ files that no translation call takes in.

A literal is French when it holds a French accented letter or a word only French uses; it is
taken in when the innermost call around it is tr, translate, QT_TR_NOOP or QT_TRANSLATE_NOOP.
A line that carries the marker "texte du format" holds texts of a file format, a protocol or the
panel, which stay French: it is left alone.
Usage: french-literals.py ROOT FOLDER... (folders relative to ROOT; each file or folder to skip
after --skip)
"""
import pathlib
import re
import sys

MARKER = "texte du format"
TRANSLATING = {"tr", "translate", "QT_TR_NOOP", "QT_TRANSLATE_NOOP", "QT_TRANSLATE_NOOP3"}
ACCENTED = re.compile("[àâäçéèêëîïôöùûüÿœæÀÂÄÇÉÈÊËÎÏÔÖÙÛÜŸŒÆ«»]")
FRENCH_WORDS = re.compile(
    r"(?<![\w-])(le|la|les|des|du|une|un|est|sont|pas|aucun|aucune|avec|sans|dans|pour|sur|"
    r"fichier|dossier|erreur|introuvable|ligne|lignes|chargement|lecture|ou|et|ni|mettez|"
    r"lancez|afficheur|réglages)(?![\w-])",
    re.IGNORECASE)


def literals(text):
    """Yields (line, literal text, innermost call) for each string literal of C++ text."""
    calls = []  # the name before each open parenthesis, innermost last
    last_word = ""
    i, line, n = 0, 1, len(text)
    while i < n:
        c = text[i]
        if c == "\n":
            line += 1
            i += 1
        elif text.startswith("//", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            line += text.count("\n", i, end)
            i = end
        elif c == "#" and (i == 0 or text[i - 1] == "\n") and text.startswith("#include", i):
            i = text.find("\n", i)
            i = n if i < 0 else i
        elif c == "R" and text.startswith('R"', i) and not last_word.endswith("R"):
            open_end = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_end] + '"'
            end = text.find(delimiter, open_end)
            end = n if end < 0 else end + len(delimiter)
            yield line, text[open_end + 1:end - len(delimiter)], calls[-1] if calls else ""
            line += text.count("\n", i, end)
            i = end
            last_word = ""
        elif c == '"' or c == "'":
            j = i + 1
            while j < n and text[j] != c:
                j += 2 if text[j] == "\\" else 1
            if c == '"':
                yield line, text[i + 1:j], calls[-1] if calls else ""
            i = j + 1
            last_word = ""
        elif c.isalnum() or c == "_":
            j = i
            while j < n and (text[j].isalnum() or text[j] == "_"):
                j += 1
            last_word = text[i:j]
            i = j
        elif c == "(":
            calls.append(last_word)
            last_word = ""
            i += 1
        elif c == ")":
            if calls:
                calls.pop()
            last_word = ""
            i += 1
        else:
            if not c.isspace():
                last_word = ""
            i += 1


def main():
    if len(sys.argv) < 3:
        print(__doc__, file=sys.stderr)
        return 2
    root = pathlib.Path(sys.argv[1])
    args = sys.argv[2:]
    skip = set()
    if "--skip" in args:
        at = args.index("--skip")
        skip = {root / s for s in args[at + 1:]}
        args = args[:at]
    found = 0
    for folder in args:
        for path in sorted((root / folder).rglob("*")):
            if path.suffix not in (".cpp", ".h") or any(s in path.parents or s == path for s in skip):
                continue
            text = path.read_text(encoding="utf-8")
            lines = text.split("\n")
            for line, literal, call in literals(text):
                if call in TRANSLATING or MARKER in lines[line - 1]:
                    continue
                if ACCENTED.search(literal) or FRENCH_WORDS.search(literal):
                    print(f"{path.relative_to(root)}:{line}: \"{literal}\"")
                    found += 1
    if found:
        print(f"{found} texte(s) en français hors traduction", file=sys.stderr)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
