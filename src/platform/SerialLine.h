#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <optional>
#include <termios.h>

// A serial line (a tty) open for writing, non-blocking, in raw mode: `speed` baud, 8 data bits,
// no parity, one stop bit, no flow control, modem lines ignored, bytes sent as they are. Other
// programs are kept off the line while it is open; its settings are put back when it closes.
// Opened `readable`, it also gives what the device answers.
class SerialLine {
public:
    SerialLine(const QByteArray& path, speed_t speed, bool readable = false);
    SerialLine(const SerialLine&) = delete;
    SerialLine& operator=(const SerialLine&) = delete;
    ~SerialLine();

    bool isOpen() const { return fd.get() >= 0; }
    // Why the line did not open: an errno value, EBUSY when another program holds it.
    int error() const { return failure; }
    int get() const { return fd.get(); }

private:
    FileDescriptor fd;
    termios found{};
    int failure = 0;
};

// The speed constant of a rate in bits per second, one of the usual ones from 1200 to 115200;
// none for any other.
std::optional<speed_t> lineSpeed(int bitsPerSecond);
