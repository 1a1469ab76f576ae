#pragma once

#include "drivers/Hd44780.h"
#include "model/Characters.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <functional>
#include <mutex>
#include <optional>
#include <vector>

#define EMULATED_API __attribute__((visibility("default")))

// Device files that exist only in this library: the program's open, read, write, ioctl, close
// (and stat, access) on a path registered here reach an emulation instead of the kernel, so the
// real device code is tested, or run, with no hardware. Every other path goes to the system.
//
// Linked into a test (before libc, as target_link_libraries puts it), the test registers the
// devices through the functions below. Preloaded (LD_PRELOAD) into a program, it registers
// those RELAYEUR_EMULATED lists; RELAYEUR_EMULATED_VIEW names a folder where each module is
// drawn, on each change, as <name>.png and <name>.txt (a program that gives up root, as LCDd does
// for its User=, must still be allowed to write there).
namespace emulated {

// A character module on an emulated bus: its controllers and backlight, as a person sees it.
// One HD44780 up to 20 columns or 2 lines; a 40x4 has a second one for lines 3 and 4. Safe to
// read from any thread.
class EMULATED_API Module {
public:
    Module(int columns, int lines);
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    int columns() const { return columnCount; }
    int lines() const { return lineCount; }
    int controllers() const;
    // Codes shown on panel line `line` (0 = top), spaces where the controller shows nothing.
    QByteArray line(int line) const;
    // The user-defined character `slot` (0-7) of controller `controller` (0 or 1).
    GlyphRows glyph(int controller, int slot) const;
    bool backlight() const;
    // Whether the controller showing `line` has its display on.
    bool displayOn(int line) const;

    // What a bus emulation calls: the controller `controller` takes D7-D4 (bits 3-0 of `nibble`)
    // into its instruction or data register as its E falls, D3-D0 being unwired.
    void latch(int controller, bool data, quint8 nibble);
    void setBacklight(bool on);
    // Counts latches and backlight changes: a view redraws when it moves.
    quint64 changes() const;

private:
    const Hd44780& showing(int line, int& row) const;

    const int columnCount;
    const int lineCount;
    mutable std::mutex mutex;
    std::vector<Hd44780> chips;
    bool lit = false;
    quint64 changeCount = 0;
};

// Which PCF8574 pin (0 to 7) drives each module line. On a 40x4 the RW pin drives E2.
struct BackpackPins {
    int rs, rw, e, backlight, d4, d5, d6, d7;
    bool backlightLitHigh;
};
// The boards sold, as brochage= numbers them: 1 the common « LCM1602 / YwRobot » board, 2 LCDd's
// hd44780 i2c wiring, 3 the « mjkdz » board. None for another number.
EMULATED_API std::optional<BackpackPins> backpackWiring(int number);

EMULATED_API void reset();                        // forgets every emulated device
EMULATED_API void addI2cBus(const QString& path); // an i2c-dev file that opens
// A PCF8574 at `address` with an HD44780 module wired as `pins`; the bus is added if needed.
// The module lives until reset().
EMULATED_API Module& addBackpack(const QString& bus, int address, const BackpackPins& pins,
                                 int columns, int lines);
// A device that is not an expander: answers a read with `answer`; counts every byte written to
// it.
EMULATED_API void addI2cDevice(const QString& bus, int address, quint8 answer);
// Every byte written to `address` on `bus` since it was added.
EMULATED_API int bytesWrittenTo(const QString& bus, int address);
// The device vanishes: calls on files open on it fail with ENODEV, opening it with ENOENT.
EMULATED_API void unplug(const QString& path);

// The GPIO line offsets an HD44780 module's pins are wired to; -1 for BL leaves the backlight
// always lit, and E2 is the second controller's E on a 40x4. R/W is tied to ground.
struct GpioPins {
    int rs, e, d4, d5, d6, d7;
    int backlight = -1;
    int e2 = -1;
};
// A GPIO character device with `lineCount` lines, all free, as libgpiod finds it: `path`, or a
// name such as gpiochip9 taken under /dev, and its device number in sysfs.
EMULATED_API void addGpioChip(const QString& path, int lineCount);
// An HD44780 module on lines of `chip` (a path or a name under /dev), which is added, with the
// 54 lines of a Raspberry Pi's, if needed. The module lives until reset().
EMULATED_API Module& wireGpioModule(const QString& chip, const GpioPins& pins, int columns,
                                    int lines);
// Line `line` of `chip` is taken by someone else: a request for it fails with EBUSY.
EMULATED_API void holdGpioLine(const QString& chip, int line);

// What a character module shows, for a picture of it: its lines' codes, its user-defined
// characters, whether its backlight and each line's display are on.
struct Screen {
    int columns = 0;
    int lines = 0;
    bool lit = false;
    std::function<QByteArray(int line)> codes;
    std::function<GlyphRows(int line, int slot)> glyph;
    std::function<bool(int line)> displayOn;
};
// Writes the module as it looks into the PNG file `path`, as the views draw it: dark dots on a
// green panel, dim without the backlight. Written aside then renamed, so that a viewer never
// reads half of it; false when it could not be written.
EMULATED_API bool writePicture(const QString& path, const Screen& screen);

// Devices as RELAYEUR_EMULATED lists them, separated by ';':
// i2c:BUS:ADDRESS:WIRING:COLUMNSxLINES, e.g. i2c:/dev/i2c-7:0x3f:2:20x4, and
// gpio:CHIP:RS,E,D4,D5,D6,D7[,BL[,E2]]:COLUMNSxLINES, e.g.
// gpio:/dev/gpiochip9:7,8,25,24,23,18,15:20x4. Returns what could not be read, one line an
// entry; the rest is added.
EMULATED_API QStringList configure(const QString& devices);
// Draws every module in `folder` as <name>.png and <name>.txt after each change, at most about
// ten times a second; an empty folder stops it. The name is the bus file's and the address's,
// i2c-7-0x3f, or the GPIO chip's, gpiochip9.
EMULATED_API void setViewFolder(const QString& folder);

} // namespace emulated
