#pragma once

#include "model/Characters.h"

#include <QString>
#include <QtGlobal>
#include <array>

// The characters of an HD44780 panel, for drawing it on screen or in a terminal. A glyph is eight
// dot rows from the top, bit 4 being the leftmost of the five dots; the eighth row is the one the
// cursor underlines.

// The pattern of `code` in the controller's ROM: the standard one (code A00) unless `rom` is A02,
// the European one. Codes 0x00-0x0F are not in the ROM: the panel draws them from CGRAM, codes
// 8-15 repeating 0-7, so callers take them from the characters they loaded there; this table
// holds blanks for them.
const std::array<quint8, 8>& romGlyph(quint8 code, CharacterSet rom = CharacterSet::A00);

// What the big-digit clock loads into CGRAM. It builds each digit three characters wide and four
// lines high from these and the full block 0xFF: slot 0 a bar across the top of the cell, 1 a bar
// across the bottom (alone, one dot of the colon), 2 to 5 the rounded corners top-left, top-right,
// bottom-left and bottom-right (a bar and a side stroke each); slots 6 and 7 are blank.
const std::array<std::array<quint8, 8>, 8>& bigDigitCgram();

// One terminal column showing what the panel shows for `code` from its ROM; codes 0-15 as the
// big-digit characters of bigDigitCgram().
QString terminalGlyph(quint8 code, CharacterSet rom = CharacterSet::A00);
// One terminal column for a user-defined character: the big-digit part or the full block it is,
// or blank.
QString terminalGlyph(const GlyphRows& rows);
