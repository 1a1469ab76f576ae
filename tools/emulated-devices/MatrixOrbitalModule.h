#pragma once

#include "ModuleScreen.h"

#include <QByteArray>

// A module that speaks Matrix Orbital's command set, as its firmware takes the bytes of the
// serial line: text at the cursor, and after 0xFE the commands for clearing, placing the cursor,
// user-defined characters, backlight, contrast, cursors, line wrap and scrolling, and the
// module-type query, whose answer it gives back. Unknown commands are skipped. It starts as
// such a module powers up: its name shown, the backlight on, line wrap and autoscroll on.
class MatrixOrbitalModule {
public:
    MatrixOrbitalModule(int columns, int lines, quint8 type = 0x09);

    // Takes what the program sent; gives what the module sends back.
    QByteArray feed(const QByteArray& bytes);

    const ModuleScreen& screen() const { return shown; }
    QByteArray line(int line) const { return shown.line(line); }
    GlyphRows glyph(int slot) const { return shown.glyph(slot); }
    bool backlight() const { return light; }
    int contrast() const { return contrastLevel; }
    bool lineWrap() const { return wrap; }
    bool autoScroll() const { return scroll; }

private:
    QByteArray take(char byte);
    QByteArray run(const QByteArray& command);
    void text(char byte);

    ModuleScreen shown;
    quint8 type;
    bool light = true;
    int contrastLevel = 128;
    bool wrap = true;
    bool scroll = true;
    bool underline = true;
    bool block = true;
    QByteArray pending; // a command being received, from its 0xFE
};
