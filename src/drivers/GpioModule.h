#pragma once

#include "drivers/Hd44780FourBit.h"
#include "drivers/ModuleLink.h"

#include <QString>
#include <chrono>
#include <gpiod.h>
#include <memory>
#include <optional>
#include <vector>

// The GPIO lines, by their offset on the chip, that an HD44780 module's pins are wired to, as
// broches= gives them: RS,E,D4,D5,D6,D7[,BL[,E2]]. BL drives the backlight (through a
// transistor), E2 the second controller of a 40x4; an empty BL field leaves the backlight
// unwired on a 40x4 (7,8,25,24,23,18,,16). R/W is tied to ground: the module is only written.
struct GpioLines {
    unsigned rs = 0, e = 0, d4 = 0, d5 = 0, d6 = 0, d7 = 0;
    std::optional<unsigned> backlight;
    std::optional<unsigned> e2;
};

// Reads broches=; none, with the reason in French in `error`, when it cannot be used.
std::optional<GpioLines> parseGpioLines(const QString& text, QString& error);
// The lines as the log prints them: « RS 7, E 8, D4–D7 25, 24, 23, 18, rétroéclairage 15 ».
QString describeGpioLines(const GpioLines& lines);
// The chip GPIO= names: a name is looked up under /dev, a path is taken as it is.
QString gpioChipPath(const QString& chip);

// An HD44780 module in 4-bit mode on GPIO lines of a Linux GPIO chip, through libgpiod: the lines
// are held for output, as « relayeur », while the link is open. The module has no contrast
// setting: a potentiometer on its V0 pin sets it.
class GpioModule : public ModuleLink {
public:
    // `chip` and `pins` as GPIO= and broches= give them; what cannot be used is told by open().
    GpioModule(const QString& chip, const QString& pins, const ModuleSettings& settings);

    bool open(QString& error) override;
    void close() override;
    bool write(int line, int column, const QByteArray& codes, QString& error) override;
    bool defineGlyph(int slot, const GlyphRows& rows, QString& error) override;
    bool hasBacklight() const override;
    bool setBacklight(bool on, QString& error) override;

private:
    struct ChipCloser {
        void operator()(gpiod_chip* chip) const { gpiod_chip_close(chip); }
    };
    using Chip = std::unique_ptr<gpiod_chip, ChipCloser>;

    // The module's lines held for output, given back when it goes.
    class Request {
    public:
        explicit Request(const gpiod_line_bulk& held) : held(held) {}
        Request(const Request&) = delete;
        Request& operator=(const Request&) = delete;
        ~Request() { gpiod_line_release_bulk(&held); }
        // Levels in the order of the request; false with errno set when the chip refuses them.
        bool set(const std::vector<int>& levels);

    private:
        gpiod_line_bulk held;
    };

    // The lines as the module's 4-bit bus. Each change of the lines is one call to the chip;
    // a wait is kept by looking at the clock before the next pulse, so that the time the calls
    // take themselves counts in it.
    class Wires : public FourBitBus {
    public:
        explicit Wires(const GpioLines& lines);
        void pulse(int controller, bool data, quint8 nibble) override;
        void pause(std::chrono::microseconds time) override;
        void setBacklight(bool on) override;

        // Starts afresh on newly held lines; none detaches.
        void attach(Request* to);
        // The errno of the first failure since attach(), or 0.
        int failure() const { return failed; }
        // The offsets in the order of the request's levels.
        const std::vector<unsigned>& offsets() const { return order; }

    private:
        void apply();

        std::vector<unsigned> order;
        int backlightAt = -1; // index of BL in the levels, when wired
        int e2At = -1;
        Request* request = nullptr;
        std::vector<int> levels;
        std::chrono::steady_clock::time_point readyAt;
        int failed = 0;
    };

    bool sent(QString& error) const;
    QString reason(int error) const;
    QString busyReason(unsigned count) const;

    QString chipName;
    QString pinsText;
    QString path;
    QString linesProblem; // before `lines`, which is read into it
    std::optional<GpioLines> lines;
    ModuleSettings settings;
    Chip chip;
    std::optional<Request> request; // after the chip: released before it closes
    std::optional<Wires> wires;
    std::optional<Hd44780FourBit> module;
};
