#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// The search for the panels this machine can reach, for a user who does not know which settings
// their module needs. It only looks and asks; the one thing it sends is the Matrix Orbital
// module-type query (below), and only to USB serial ports.

// Where the device files are: / on the machine, a folder of stand-ins in the tests.
struct DeviceDirs {
    QString dev = QStringLiteral("/dev");
    QString sys = QStringLiteral("/sys");
    // dev/ and sys/ under `root`; the machine's own when `root` is empty.
    static DeviceDirs under(const QString& root);
};

// One panel that may be there, and what made the search think so.
struct Candidate {
    qint16 typeLcd = 0;
    QString device;   // the device file, or host:port for LCDd
    QString shownAs;  // a steadier name of the same device (/dev/serial/by-id/...), else empty
    int address = -1; // I2C: the expander's address
    int speed = 0;    // Matrix Orbital: the line speed it answered at
    int columns = 0;  // the size the device told, 0 when it tells none
    int lines = 0;
    QString answered;   // what answered, in French, for the user
    bool usable = true; // false: found, but the program cannot write to it as things stand
    bool inUse = false; // the running panel: left alone
};

// The panel the running copy of Relayeur drives, which the search must not disturb.
struct PanelInUse {
    qint16 typeLcd = 0;
    QString device;
    int address = -1;
};

struct SearchPlaces {
    DeviceDirs dirs;
    QString lcddServer = QStringLiteral("localhost:13666"); // [ports] LCDd
    std::optional<PanelInUse> inUse;
};

// Every candidate, I2C expanders first, then USB serial modules, /dev/lcd, parallel ports and
// LCDd. Runs for about a second at most; to be called away from the window's thread.
std::vector<Candidate> searchPanels(const SearchPlaces& places);

// The parts, each on its own.

// PCF8574 (0x20-0x27) and PCF8574A (0x38-0x3F) addresses on every /dev/i2c-*, each asked by one
// byte read: nothing is written on the bus, so no device, expander or not, is changed by it.
std::vector<Candidate> searchI2c(const DeviceDirs& dirs, const std::optional<PanelInUse>& inUse);

// /dev/ttyACM* and /dev/ttyUSB* that answer the Matrix Orbital module-type query (0xFE 0x37), at
// 19200 then 9600 bits per second. The query is harmless to whatever else is on the port: 0xFE is
// no character of text and the two bytes end no line, so a device that reads lines or AT
// commands (a modem, a GPS, an Arduino sketch) takes no action on them, and a Matrix Orbital
// module answers it without changing anything. Opening a port may restart a board that resets
// on DTR, as any terminal program opening it would. Built-in ports (/dev/ttyS*) are never opened:
// what hangs there cannot be told, and a closed wait on a missing UART would be slow.
std::vector<Candidate> searchSerialModules(const DeviceDirs& dirs,
                                           const std::optional<PanelInUse>& inUse);

// /dev/lcd and /dev/parport*: only whether they are there (a parallel port cannot be asked what
// hangs on it).
std::vector<Candidate> searchDeviceFiles(const DeviceDirs& dirs,
                                         const std::optional<PanelInUse>& inUse);

// A running LCDd at `server`: connected to, greeted with hello for its size, and left at once.
std::optional<Candidate> searchLcdd(const QString& server);
