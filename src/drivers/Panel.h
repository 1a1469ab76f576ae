#pragma once

#include "model/Frame.h"

// A kind of panel the program can drive. The refresh makes one frame per tick; a panel shows it,
// keeps what it showed and sends what it must: every byte again where the panel's protocol says
// so, only what changed where it may skip.
class Panel {
public:
    virtual ~Panel() = default;
    // Back to the start state, as each panel defines it: when the feed starts or stops, and at
    // the end of the program.
    virtual void reset() = 0;
    virtual void show(const Frame& frame) = 0;
    // What the panel sent back since the last refresh (keys), taken just before the next one
    // draws, so that a page turned by a key shows at once.
    virtual void takeInput() {}
    // The characters it takes; by default a ROM's codes and no user-defined character.
    virtual PanelCharacters characters() const { return {}; }
    // Puts the backlight out or lights it again (as the settings have it); false when the panel
    // has no backlight it can switch, which then takes blank frames while it is quiet.
    virtual bool setBacklight(bool /*on*/) { return false; }
};

// A frame as a panel written at a cursor takes it: each line's start (none for text at the
// cursor), then the line's row where it writes one.
template <typename LineStart, typename Write>
void writeFrame(const Frame& frame, LineStart lineStart, Write write) {
    for (int i = 0; i < frame.lines; ++i) {
        if (!frame.atCursor) {
            lineStart(i);
        }
        if (frame.rows[i]) {
            write(*frame.rows[i]);
        }
    }
}
