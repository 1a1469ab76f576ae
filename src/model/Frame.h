#pragma once

#include "model/Characters.h"

#include <QByteArray>
#include <array>
#include <optional>

// The time a big clock shows, for a panel that draws big numbers its own way.
struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// What one refresh puts on the panel, for every panel alike.
//
// Row i is what the refresh writes from the start of panel line i. It is usually as wide as the
// panel, but not always: an empty line writes 20 spaces whatever the width, a fixed line is padded
// with 21 spaces only (a 40-column panel keeps the end of what it showed), and a line may write
// nothing at all after its line start (no row). Panels that show cells take the row as the
// controller would; panels that send bytes send exactly these.
//
// When the page shows the big clock, `clock` holds its time and the rows hold it drawn with the
// big-digit glyphs.
struct Frame {
    static constexpr int kMaxLines = 4;

    int lines = 0; // the panel lines this frame writes, from the top
    std::array<std::optional<QByteArray>, kMaxLines> rows;
    std::optional<ClockTime> clock;
    // A text written where the last reset left the cursor, without line starts: the banner a
    // stopped feed leaves on the panel. `rows[0]` holds it.
    bool atCursor = false;
    // Set once the character mapping has put the panel's own codes in the rows: the panel takes
    // them as they are. `glyphs` then says what each user-defined character the rows use must
    // look like; the panel writes a slot only when its pattern changes.
    bool panelCodes = false;
    std::array<std::optional<GlyphRows>, 8> glyphs;

    static Frame banner(const QByteArray& text) {
        Frame frame;
        frame.lines = 1;
        frame.rows[0] = text;
        frame.atCursor = true;
        return frame;
    }
    friend bool operator==(const Frame&, const Frame&) = default;
};
