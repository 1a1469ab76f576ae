#pragma once

#include "model/Characters.h"

#include <QByteArray>
#include <QtGlobal>
#include <chrono>

// The wires of an HD44780 module on a 4-bit bus (D7-D4, RS, E), however they are reached: a
// port expander, GPIO lines. RW is never driven high here: the busy flag is not read, the
// controller is given its time instead.
//
// A bus may gather what it is given and send it later, as long as each pause is kept between
// what comes before it and what comes after it.
class FourBitBus {
public:
    virtual ~FourBitBus() = default;

    // Presents RS (true: the data register) and D7-D4 (bits 3-0 of `nibble`), then raises and
    // lowers the E of `controller` (0: E1; 1: E2, the second controller of a 40x4) for at least
    // 450 ns. The controller takes the nibble when E falls.
    virtual void pulse(int controller, bool data, quint8 nibble) = 0;
    // The controller needs this long before the next pulse.
    virtual void pause(std::chrono::microseconds time) = 0;
    virtual void setBacklight(bool on) = 0;
};

// The HD44780 protocol on a 4-bit bus: start-up, cursor addressing for every module size up to
// 40x4, text and user-defined characters. Shared by every module wired in 4 bits.
//
// Without the busy flag every instruction and character is followed by the longest time the
// datasheet gives it, with a margin. Lines 1 and 2 start at 0x00 and 0x40; lines 3 and 4 of a
// module of at most 20 columns continue them at 0x00 + C and 0x40 + C; a 4-line module wider
// than 20 columns (a 40x4) has a second controller, on E2, for lines 3 and 4, addressed like the
// first.
class Hd44780FourBit {
public:
    // Out-of-range sizes are brought into 1..40 x 1..4.
    Hd44780FourBit(FourBitBus& bus, int columns, int lines);

    int columns() const { return columnCount; }
    int lines() const { return lineCount; }
    int controllers() const { return secondController() ? 2 : 1; }

    // Brings every controller into 4-bit mode whatever state it was left in (8-bit, or halfway
    // through a byte in 4-bit mode): two lines, 5x8 dots, blank, increment, display on without
    // cursor.
    void initialise();
    // Codes from (line, column) rightwards, counted from 0; what would go past the line's end,
    // or falls outside the module, is dropped.
    void write(int line, int column, const QByteArray& codes);
    // User-defined character `slot` (0-7), on every controller.
    void defineGlyph(int slot, const GlyphRows& rows);
    void setBacklight(bool on) { bus.setBacklight(on); }

private:
    bool secondController() const { return lineCount > 2 && columnCount > 20; }
    void instruction(int controller, quint8 code);
    void data(int controller, quint8 value);
    void send(int controller, bool data, quint8 byte);

    FourBitBus& bus;
    int columnCount;
    int lineCount;
};
