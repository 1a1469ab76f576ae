#pragma once

#include "drivers/Hd44780.h"
#include "drivers/Panel.h"

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

// The controllers of a real module of this size, brought into 1..40 x 1..4: one, or for a 4-line
// module wider than 20 columns a second one, which shows lines 3 and 4 as its lines 1 and 2.
std::vector<Hd44780> moduleControllers(int columns, int lines);

// The panel for everyone without one (TypeLCD 1): the HD44780 controllers of a real module of
// its size, written byte by byte with none of the parallel port's waits. Lines 1 and 2 start at
// 0x80 and 0xC0; a 4-line module of at most 20 columns carries lines 3 and 4 on from there
// (0x80 + C and 0xC0 + C: 0x90 and 0xD0 on a 16x4, 0x94 and 0xD4 on a 20x4); a wider one, a 40x4,
// has a second controller for lines 3 and 4, addressed like the first. Every controller's
// user-defined characters hold the shapes of the big-digit clock, as a real panel prepared for it
// would. A frame equal to the one shown last is not written again.
class OnScreenPanel : public Panel {
public:
    // Out-of-range sizes are brought into 1..40 x 1..4. `rom` is the character ROM it draws.
    OnScreenPanel(int columns, int lines, CharacterSet rom = CharacterSet::A00);

    void reset() override;
    // A mapped frame first defines the user-defined characters whose pattern changed.
    void show(const Frame& frame) override;
    PanelCharacters characters() const override { return {false, 8}; }
    // The views draw an unlit panel darker.
    bool setBacklight(bool on) override;
    bool backlit() const { return lit; }

    int columns() const { return columnCount; }
    CharacterSet rom() const { return characterRom; }
    int lines() const { return lineCount; }

    // Where panel line `line` (0 is the top) is shown: which controller, and which of its lines.
    struct Row {
        const Hd44780& controller;
        int line;
    };
    Row row(int line) const;
    // The character codes of one panel line, a space where nothing is shown.
    QByteArray line(int line) const;

    // Called once after each reset and each frame that may have changed what the panel shows:
    // the views that draw the panel follow it.
    void setChangeListener(std::function<void()> listener) { changed = std::move(listener); }

private:
    bool secondController() const { return controllers.size() > 1; }
    void lineStart(int line);
    void write(const QByteArray& text);

    int columnCount;
    int lineCount;
    CharacterSet characterRom;
    std::vector<Hd44780> controllers;
    std::size_t current = 0;    // the controller the last line start chose
    std::optional<Frame> shown; // the last frame, until a reset
    std::function<void()> changed;
    bool lit = true;
};
