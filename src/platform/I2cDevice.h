#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// An i2c-dev bus file (/dev/i2c-N) open for reading and writing, talking to one address at a
// time. Failures leave their errno value in error() for the caller to put in words: ENOENT for
// a missing bus, EACCES for a user outside the i2c group, EBUSY for an address a kernel driver
// holds, ENXIO, EREMOTEIO or EIO when nothing answers at the address, ENODEV once the bus is gone.
class I2cDevice {
public:
    explicit I2cDevice(const QString& path);

    bool isOpen() const { return fd.get() >= 0; }
    int error() const { return failure; }

    // The address (7 bits) the following reads and writes go to.
    bool setAddress(int address);
    // One write on the bus: a start, the address, every byte, a stop.
    bool write(const QByteArray& bytes);
    // One byte read from the current address.
    std::optional<quint8> readByte();
    // One byte read from `address` without writing anything to it first: whether a device is
    // there, and what an expander's pins read.
    std::optional<quint8> readByteAt(int address);

private:
    bool fail();

    FileDescriptor fd;
    int failure = 0;
};
