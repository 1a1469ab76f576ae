#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <optional>

// What an HD44780 character LCD controller does with the bytes it is given, and what its panel
// then shows. It stands in for the real panel on screen and in tests.
//
// Geometry is columns x lines, up to 40 x 4. Line 1 shows DDRAM from 0x00, line 2 from 0x40; on
// a 4-line panel of at most 20 columns, lines 3 and 4 continue lines 1 and 2 (0x00 + C and
// 0x40 + C: 0x14 and 0x54 on a 20x4). A 4-line panel wider than 20 columns has a second
// controller for lines 3 and 4, a second model: this one leaves those lines blank.
//
// Lines and columns count from 0 here. Busy time is not modelled: the panel is only written.
class Hd44780 {
public:
    static constexpr int kMaxColumns = 40;
    static constexpr int kMaxLines = 4;

    struct Cell {
        int line = 0;
        int column = 0;
        friend bool operator==(const Cell&, const Cell&) = default;
    };

    // Out-of-range sizes are brought into 1..40 x 1..4.
    Hd44780(int columns, int lines);

    // One byte as the controller latches it: into the instruction register or the data register.
    void writeInstruction(quint8 code);
    void writeData(quint8 value);

    // The character code at a position of the panel, a space where the controller drives
    // nothing. Codes are given whether or not the display is on: see displayOn().
    quint8 codeAt(int line, int column) const;
    QByteArray line(int line) const;

    bool displayOn() const { return display; }
    bool cursorOn() const { return cursor; }
    bool blinkOn() const { return blink; }

    // The address counter, into CGRAM or DDRAM, whichever address was set last.
    quint8 address() const { return addressCounter; }
    // Where the cursor stands on the panel; none when the counter points into CGRAM or to a
    // DDRAM address that is not in view.
    std::optional<Cell> cursorCell() const;

    // Codes 0x00-0x0F draw the user glyphs: slot = code & 7. None for every other code.
    static std::optional<int> glyphSlot(quint8 code);
    // The 8 rows of a glyph slot (0-7), 5 low bits each, top row first.
    std::array<quint8, 8> glyph(int slot) const;
    // Writes a glyph into CGRAM without touching the address counter.
    void loadGlyph(int slot, const std::array<quint8, 8>& rows);

private:
    int ddramIndex(quint8 address) const;
    quint8 addressAt(int line, int column) const;
    bool drives(int line) const;
    std::optional<quint8> assemble(quint8 busByte);
    void execute(quint8 code);
    void store(quint8 value);
    void stepAddress(bool forward);

    int columnCount;
    int lineCount;

    std::array<quint8, 80> ddram;
    std::array<quint8, 64> cgram{};
    quint8 addressCounter = 0;
    bool inCgram = false;
    int displayShift = 0; // how far the view has moved left in the DDRAM lines

    bool increment = true;
    bool entryShift = false;
    bool display = false;
    bool cursor = false;
    bool blink = false;
    bool eightBit = true;
    bool twoLines = false;

    // In 4-bit mode the bus carries D7-D4 only: the high half of a byte waits here for its low
    // half, which decides the register.
    std::optional<quint8> pendingHigh;
};
