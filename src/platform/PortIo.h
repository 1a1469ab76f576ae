#pragma once

#include "platform/Hd44780.h"

#include <QList>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <utility>

// Byte access to I/O port registers, by their PC address.
class PortIo {
public:
    virtual ~PortIo();
    virtual void writePort(quint16 port, quint8 value) = 0;
    virtual quint8 readPort(quint16 port) = 0;
};

// The registers of the first PC parallel port.
constexpr quint16 kParallelData = 0x378;
constexpr quint16 kParallelStatus = 0x379;
constexpr quint16 kParallelControl = 0x37A;

// The parallel port named by a setting: a ppdev device path such as "/dev/parport0", or
// "direct" for the registers at 0x378 themselves (root only, x86 only). The port is held until
// the object is destroyed. Null on failure, with `*error` (when given) set to a one-line message
// in French.
std::unique_ptr<PortIo> openParallelPort(const QString& setting, QString* error);

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
    quint8 control = 0x09; // E low, RS on the instruction register
    bool recording = false;
    QList<PortAccess> accesses;
    QList<PanelTransfer> transfers;
};
