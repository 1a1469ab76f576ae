#include "drivers/Parallele.h"

#include "drivers/Hd44780Instructions.h"
#include "platform/PreciseSleep.h"

#include <iterator>

using namespace hd44780;

namespace {
// Bit 3 (select-in) chooses the panel's register: set, the instruction register; clear, the data
// register. Bit 0 set holds E low. The other bits drive nothing on the panel; the ports keep
// bit 5 off the wire.
constexpr quint8 kInitControl = static_cast<quint8>(~kParallelReverseData); // 0xDF
constexpr quint8 kToInstruction = kParallelSelectIn;                        // 0x08, E high
constexpr quint8 kToData = static_cast<quint8>(~kParallelSelectIn);         // 0xF7

// Three times 8-bit function set resets the bus whatever state the panel was left in, 4-bit
// included; then 2 lines, display, cursor and blink on, clear, increment without shift.
constexpr quint8 kEightBitFunction = kFunctionSet | kEightBitBus;
constexpr quint8 kInitSequence[] = {kEightBitFunction,
                                    kEightBitFunction,
                                    kEightBitFunction,
                                    kEightBitFunction | kTwoLines,
                                    kDisplayControl | kDisplayOn | kCursorOn | kBlinkOn,
                                    kClear,
                                    kEntryMode | kEntryIncrement};
constexpr quint8 kDisplayOnAlone = kDisplayControl | kDisplayOn;

// The line starts of a 20x4 panel, whatever the panel: lines 3 and 4 go on from lines 1 and 2
// after 20 characters.
constexpr int kLineStartWidth = 20;
constexpr quint8 kLineStarts[] = {kSetDdramAddress | kFirstLineAddress,
                                  kSetDdramAddress | kSecondLineAddress,
                                  kSetDdramAddress | (kFirstLineAddress + kLineStartWidth),
                                  kSetDdramAddress | (kSecondLineAddress + kLineStartWidth)};

void writeControl(Parallele& par, quint8 value) {
    par.io->writePort(static_cast<quint16>(par.PortControl), value);
}

void writeData(Parallele& par, quint8 value) {
    par.io->writePort(static_cast<quint16>(par.PortData), value);
}

quint8 readControl(Parallele& par) {
    return par.io->readPort(static_cast<quint16>(par.PortControl));
}

// Nothing for a line outside 1..4: the column alone goes out as the instruction.
quint8 lineStart(qint16 line) {
    return line >= 1 && line <= std::ssize(kLineStarts) ? kLineStarts[line - 1] : 0;
}
} // namespace

void ParInit(Parallele& par) {
    if (!par.io) {
        return;
    }
    par.PortData = kParallelData;
    par.PortControl = kParallelControl;
    writeControl(par, kInitControl);
    writeControl(par, kToInstruction);
    for (const quint8 code : kInitSequence) {
        writeData(par, code);
        ParStrobe(par);
    }
    ParDisplayOn(par);
}

void ParDisplayOn(Parallele& par) {
    if (!par.io) {
        return;
    }
    writeControl(par, kToInstruction);
    writeData(par, kDisplayOnAlone);
    ParStrobe(par);
}

void ParGoto(Parallele& par, qint16 column, qint16 line) {
    if (!par.io) {
        return;
    }
    writeControl(par, kToInstruction);
    writeData(par, static_cast<quint8>(lineStart(line) + column - 1));
    ParStrobe(par);
}

void ParWrite(Parallele& par, const QByteArray& text) {
    if (!par.io) {
        return;
    }
    writeControl(par, kToData);
    for (const char byte : text) {
        writeData(par, static_cast<quint8>(byte));
        ParStrobe(par);
    }
}

void ParLoadGlyph(Parallele& par, int slot, const std::array<quint8, 8>& rows) {
    if (!par.io) {
        return;
    }
    writeControl(par, kToInstruction);
    writeData(par, static_cast<quint8>(kSetCgramAddress | ((slot & 7) << 3)));
    ParStrobe(par);
    writeControl(par, kToData);
    for (const quint8 row : rows) {
        writeData(par, row);
        ParStrobe(par);
    }
}

void ParStrobe(Parallele& par) {
    if (!par.io) {
        return;
    }
    ParWait(par);
    writeControl(par, readControl(par) & ~kParallelStrobe);
    ParWait(par);
    writeControl(par, readControl(par) | kParallelStrobe);
    ParWait(par);
}

void ParWait(Parallele& par) {
    if (!par.io) {
        return;
    }
    if (par.wait) {
        par.wait();
    } else {
        // 1 ms from the last pause's due end, never less than half of it from now: the panel
        // gets its time on every edge and a frame keeps to its 3 ms a byte.
        pacedPause(par.pacer, 1'000'000L, 500'000L);
    }
}
