#pragma once

#include "drivers/Hd44780.h"
#include "platform/PortIo.h"

#include <QList>
#include <QtGlobal>
#include <utility>

// One register access seen by EmulatedHd44780Port.
struct PortAccess {
    enum Kind { Read, Write };
    Kind kind = Read;
    quint16 port = 0;
    quint8 value = 0;
    friend bool operator==(const PortAccess&, const PortAccess&) = default;
};

// One byte the emulated panel latched, and into which of its registers.
struct PanelTransfer {
    bool data = false; // false: the instruction register
    quint8 value = 0;
    friend bool operator==(const PanelTransfer&, const PanelTransfer&) = default;
};

// A parallel port with an HD44780 panel wired to it: data register to D0-D7, control bit 0
// (strobe, inverted on the connector) to E, control bit 3 (select-in, inverted) to RS. The
// panel latches the data register when E falls. It starts with E low, so that nothing is
// latched before the program first raises E.
class EmulatedHd44780Port : public PortIo {
public:
    EmulatedHd44780Port(int columns, int lines) : panel(columns, lines) {}

    void writePort(quint16 port, quint8 value) override;
    // The data and control registers read back as last written; other addresses read 0xFF.
    quint8 readPort(quint16 port) override;

    Hd44780& model() { return panel; }
    const Hd44780& model() const { return panel; }

    // While recording, every register access and every latched byte is kept until taken.
    void setRecording(bool on) { recording = on; }
    QList<PortAccess> takeAccesses() { return std::exchange(accesses, {}); }
    QList<PanelTransfer> takeTransfers() { return std::exchange(transfers, {}); }

private:
    Hd44780 panel;
    quint8 data = 0;
    quint8 control = kParallelStrobe | kParallelSelectIn; // E low, RS on the instruction register
    bool recording = false;
    QList<PortAccess> accesses;
    QList<PanelTransfer> transfers;
};
