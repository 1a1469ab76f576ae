#pragma once

#include "platform/PortIo.h"
#include "platform/PreciseSleep.h"

#include <QByteArray>
#include <QtGlobal>
#include <array>
#include <functional>

// An HD44780 panel on the parallel port, in 8-bit mode: the data register carries the byte,
// control bit 0 is E (the panel takes the byte when E falls) and control bit 3 chooses the
// instruction register (set) or the data register (clear). Every operation does nothing while
// `io` is null, the state of a port that could not be opened.
struct Parallele {
    PortIo* io = nullptr;
    std::function<void()> wait; // ParWait's pause; empty: 1 ms, paced by `pacer`
    PausePacer pacer;
    qint16 PortData = 0;
    qint16 PortControl = 0;
};

// Resets the panel whatever state it was in: blank, no cursor, cursor at line 1 column 1.
void ParInit(Parallele& par);
// Display on, cursor and blink off.
void ParDisplayOn(Parallele& par);
// Moves the cursor; column and line count from 1. The line starts are those of a 20x4 panel
// whatever the panel, and the column is not checked: on a 20x4, column 21 of line 1 is column 1
// of line 3. A line outside 1..4 sends column - 1 alone as the instruction.
void ParGoto(Parallele& par, qint16 column, qint16 line);
// Characters at the cursor, one byte each, whatever their value.
void ParWrite(Parallele& par, const QByteArray& text);
// A user-defined character: the CGRAM address of the slot (0-7), then its eight rows. The cursor
// is left in CGRAM: a line start brings it back.
void ParLoadGlyph(Parallele& par, int slot, const std::array<quint8, 8>& rows);
// One pulse on E, which makes the panel take the data register.
void ParStrobe(Parallele& par);
// The pause that gives the panel time to act on each edge.
void ParWait(Parallele& par);
