#pragma once

#include <QString>
#include <QtGlobal>
#include <memory>

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

// Bits of its control register. Strobe and select-in are inverted on the connector.
constexpr quint8 kParallelStrobe = 0x01;      // bit 0, pin 1
constexpr quint8 kParallelSelectIn = 0x08;    // bit 3, pin 17
constexpr quint8 kParallelReverseData = 0x20; // bit 5: on a bidirectional port, data lines in

// The parallel port named by a setting: a ppdev device path such as "/dev/parport0", or
// "direct" for the registers at 0x378 themselves (root only, x86 only). The port is held until
// the object is destroyed. Null on failure, with `*error` (when given) set to a one-line message
// in French.
std::unique_ptr<PortIo> openParallelPort(const QString& setting, QString* error);
