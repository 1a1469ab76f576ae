#include "drivers/Parallele.h"

#include "platform/PreciseSleep.h"

namespace {
constexpr quint8 kEnableLow = 0x01; // control bit 0, inverted on the connector: set, E is low
// E low in all three; bit 3 set selects the instruction register, clear the data register.
// The other bits drive nothing on the panel; the ports keep bit 5 off the wire.
constexpr quint8 kToInstruction = 0x08;
constexpr quint8 kInitControl = 0xDF;
constexpr quint8 kToData = 0xF7;

// Three times 8-bit function set resets the bus whatever state the panel was left in, 4-bit
// included; then 2 lines, display and cursor on, clear, increment without shift.
constexpr quint8 kInitSequence[] = {0x30, 0x30, 0x30, 0x38, 0x0F, 0x01, 0x06};
constexpr quint8 kDisplayOn = 0x0C;

void writeControl(Parallele& par, quint8 value) {
    par.io->writePort(static_cast<quint16>(par.PortControl), value);
}

void writeData(Parallele& par, quint8 value) {
    par.io->writePort(static_cast<quint16>(par.PortData), value);
}

quint8 readControl(Parallele& par) {
    return par.io->readPort(static_cast<quint16>(par.PortControl));
}

quint8 lineStart(qint16 line) {
    switch (line) {
    case 1:
        return 0x80;
    case 2:
        return 0xC0;
    case 3:
        return 0x94;
    case 4:
        return 0xD4;
    default:
        return 0x00;
    }
}
} // namespace

void ParInit(Parallele& par) {
    if (!par.io) {
        return;
    }
    par.PortData = 0x378;
    par.PortControl = 0x37A;
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
    writeData(par, kDisplayOn);
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

void ParStrobe(Parallele& par) {
    if (!par.io) {
        return;
    }
    ParWait(par);
    writeControl(par, readControl(par) & ~kEnableLow);
    ParWait(par);
    writeControl(par, readControl(par) | kEnableLow);
    ParWait(par);
}

void ParWait(Parallele& par) {
    if (!par.io) {
        return;
    }
    if (par.wait) {
        par.wait();
    } else {
        sleepMilliseconds(1);
    }
}
