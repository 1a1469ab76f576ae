#pragma once

#include "model/Characters.h"

#include <QByteArray>
#include <QString>

// The settings every directly driven module takes, from param.ini.
struct ModuleSettings {
    int columns = 20;
    int lines = 4;
    int contrast = 0;  // [parametres] contrast, sent where the module has a contrast command
    int backlight = 0; // [parametres] backlight: 0 off, any other value on
};

// One kind of character module as its device takes it: the bytes and waits of its bus. A
// ModulePanel calls it from a thread of its own, never from the window's, so a slow bus may take
// its time; it calls it from that one thread only.
//
// Lines and columns count from 0. Every call but close() returns false when the device would not
// take it, with the reason, in French, in `error`; the panel then closes the link and opens it
// again a second later.
class ModuleLink {
public:
    virtual ~ModuleLink() = default;

    // Opens the device and starts the module afresh: display on, blank, no cursor, the backlight
    // and contrast of the settings where the module has them. After a false return the link is
    // closed.
    virtual bool open(QString& error) = 0;
    // Lets the device go; open() may follow.
    virtual void close() = 0;
    // Character codes from a cell of the panel, left to right along one panel line.
    virtual bool write(int line, int column, const QByteArray& codes, QString& error) = 0;
    // The dot pattern of user-defined character `slot` (0 to 7), shown by codes `slot` and
    // `slot` + 8.
    virtual bool defineGlyph(int slot, const GlyphRows& rows, QString& error) = 0;
    // Whether the module's backlight can be switched from here.
    virtual bool hasBacklight() const { return false; }
    // Puts the backlight out, or back as the settings have it.
    virtual bool setBacklight(bool /*on*/, QString& /*error*/) { return true; }
};
