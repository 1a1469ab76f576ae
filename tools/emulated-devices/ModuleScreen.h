#pragma once

#include "drivers/Hd44780.h"
#include "model/Characters.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <vector>

// The screen of a character module whose firmware, or Linux's driver, drives the HD44780
// controllers and keeps a cursor by line and column: one controller, or two for lines 3 and 4
// of a module wider than 20 columns. It starts as a controller leaves its set-up: display on,
// blank, the cursor underlined and blinking at the top left.
class ModuleScreen {
public:
    ModuleScreen(int columns, int lines);

    int columns() const { return columnCount; }
    int lines() const { return lineCount; }

    // Blank, the cursor at the top left.
    void clear();
    // Lines and columns count from 0; a column past the end leaves the cursor out of view,
    // where nothing written shows.
    void moveTo(int line, int column);
    // Writes at the cursor, which moves one column right.
    void put(quint8 code);
    void defineGlyph(int slot, const GlyphRows& rows);
    void setModes(bool display, bool cursor, bool blink);

    int cursorLine() const { return atLine; }
    int cursorColumn() const { return atColumn; }
    bool displayOn() const { return controllers.front().displayOn(); }
    // A cursor line or a blinking block shows.
    bool cursorShown() const;

    QByteArray line(int line) const;
    QByteArrayList text() const;
    GlyphRows glyph(int slot) const { return controllers.front().glyph(slot); }
    // One line as a terminal shows it: the ROM's characters, and the user-defined ones as the
    // big-digit parts they draw.
    QString printable(int line, CharacterSet rom = CharacterSet::A00) const;

private:
    Hd44780& controllerOf(int line);

    int columnCount;
    int lineCount;
    std::vector<Hd44780> controllers;
    int atLine = 0;
    int atColumn = 0;
};
