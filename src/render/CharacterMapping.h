#pragma once

#include "model/Characters.h"
#include "model/Frame.h"
#include "profile/PageModel.h"

#include <QByteArray>
#include <QByteArrayList>
#include <optional>

// Which program character each user-defined slot draws (0: none), kept from one frame to the next
// so that a letter keeps its slot while it stays on the panel: a real panel changes every cell
// that shows a slot at the moment the slot is redefined.
struct GlyphSlots {
    std::array<quint8, 8> letter{};
};

struct CharacterMapping {
    CharacterSet rom = CharacterSet::A00; // A00 or A02
    PanelCharacters panel;
    // Texts whose codes 0-7 keep their slot even while not in view: the lines' whole texts, and
    // the bargraph's cells.
    QByteArrayList referring;
    // What slots 0-5 hold while the big clock shows.
    const std::array<GlyphRows, 8>* clockGlyphs = nullptr;
};

// The frame of program text (Windows-1252) as the panel's codes. On a panel with a ROM, a
// character the ROM has goes to its code (the degree sign on every line); a letter it lacks is
// drawn in a free user-defined slot, with its glyph in the frame, while there are free slots (the
// clock's and those the page refers to are not), and otherwise as its letter without the accent.
// A Latin-1 panel gets Latin-1, Windows-1252's additions as their nearest letters. Codes 0-15
// and the full block 255 stay as they are, but on A02 (which has no block) the block is drawn too.
Frame mapCharacters(Frame frame, const CharacterMapping& mapping, GlyphSlots& slots);

// What keeps its slot on this page: the texts of lines 1 to `lines`, and the bargraph's cells
// when one of them is a bar.
QByteArrayList referringTexts(const PageModel& pages, int lines, const QByteArray& plein,
                              const QByteArray& vide);

// The program character a user-defined glyph of the mapping draws; none for any other pattern
// (the full block included).
std::optional<quint8> letterOfGlyph(const GlyphRows& rows);
