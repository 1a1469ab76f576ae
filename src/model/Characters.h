#pragma once

#include <QtGlobal>
#include <array>

// Which characters the program writes to the panel ([parametres] caracteres): its own bytes, as
// it always has (Ansi), or the codes of the panel's character ROM, A00 (the standard one, with
// Japanese kana) or A02 (the European one). The on-screen panel draws A00 for Ansi.
enum class CharacterSet { Ansi, A00, A02 };

// What a panel takes: the ROM's codes, with the user-definable characters it lets the program
// define, or Latin-1 (a server that maps it to its panels itself).
struct PanelCharacters {
    bool latin1 = false;
    int definableGlyphs = 0;
};

// A user-defined character: eight dot rows from the top, five low bits each, bit 4 leftmost.
using GlyphRows = std::array<quint8, 8>;
