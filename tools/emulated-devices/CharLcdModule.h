#pragma once

#include "ModuleScreen.h"

#include <QByteArray>
#include <QString>

// What Linux's charlcd driver makes of the bytes written to /dev/lcd, and what its HD44780
// module then shows: text at the driver's cursor (never past the end of a line), the control
// characters \f (clear), \n, \r, \b and \t, and the escape sequences ESC [2J, ESC [H and
// ESC [L… (display, cursor, blink and backlight on and off, position, user-defined characters).
// It starts as the driver leaves it once loaded: its boot message shown with the cursor and
// blink on, the backlight off.
class CharLcdModule {
public:
    CharLcdModule(int columns, int lines);

    void feed(const QByteArray& bytes);

    const ModuleScreen& screen() const { return shown; }
    QByteArray line(int line) const { return shown.line(line); }
    GlyphRows glyph(int slot) const { return shown.glyph(slot); }
    bool backlight() const { return light; }
    // The kernel's device has no contrast: always none.
    int contrast() const { return 0; }

private:
    void take(char byte);
    bool escape();
    bool lcdCommand(const QByteArray& command);

    ModuleScreen shown;
    bool light = false;
    bool display = true;
    bool cursor = true;
    bool blink = true;
    bool inEscape = false;
    QByteArray sequence; // after ESC, until the driver understands it or gives it up
};
