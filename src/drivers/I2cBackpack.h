#pragma once

#include "drivers/Hd44780FourBit.h"
#include "drivers/ModuleLink.h"
#include "platform/I2cDevice.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// How a backpack wires its PCF8574 (or PCF8574A) expander to the module: the pin, P0 to P7,
// of each module line. RW is held low: the module is only written. On a 40x4, whose lines 3
// and 4 have a controller of their own, the RW pin drives that controller's E (E2) instead.
struct BackpackWiring {
    int number; // brochage= in [ports]
    int rs, rw, e, backlight, d4, d5, d6, d7;
    bool backlightLitHigh;   // else the backlight is lit while its pin is low
    const char* description; // as the panel shows it while the wiring is tried
};

// The wiring as the log and the detection describe it, in the user's language.
QString describeWiring(const BackpackWiring& wiring);

// The wirings the backpacks sold use, by their number: 1 most boards (« LCM1602 », YwRobot,
// the usual Arduino wiring), 2 LCDd's own, 3 the « mjkdz » board.
const std::array<BackpackWiring, 3>& backpackWirings();
std::optional<BackpackWiring> findBackpackWiring(int number);

// Where the module is and how it is wired, from the [ports] values I2C, adresse and brochage.
// A value that cannot be used gives way to the usual one, and `problems` says so.
struct BackpackPlace {
    QString bus;
    int address = 0x27;
    BackpackWiring wiring = backpackWirings()[0];
    QStringList problems;
};
BackpackPlace backpackPlace(const QString& bus, const QString& address, const QString& wiring);
// An address as i2cdetect and the settings write it: 0x27, 0x3F.
QString backpackAddressText(int address);

// An HD44780 module in 4-bit mode behind a PCF8574 backpack on an i2c-dev bus. Each write,
// glyph or start-up goes out in as few bus writes as its waits allow: a PCF8574 runs at 100 kHz
// at most, so the two bytes of the next nibble already give the controller more than the
// 37 us a character or an instruction takes; only the start-up's and clear's longer waits are
// slept, between two bus writes. The backpack has no contrast: its potentiometer sets it.
class I2cBackpack : public ModuleLink {
public:
    I2cBackpack(const BackpackPlace& place, const ModuleSettings& settings);

    bool open(QString& error) override;
    void close() override;
    bool write(int line, int column, const QByteArray& codes, QString& error) override;
    bool defineGlyph(int slot, const GlyphRows& rows, QString& error) override;
    bool hasBacklight() const override;
    bool setBacklight(bool on, QString& error) override;

private:
    // The expander's pins as the module's 4-bit bus: each nibble is a few expander bytes
    // gathered until the next long wait or the end of the call.
    class Expander : public FourBitBus {
    public:
        explicit Expander(const BackpackWiring& wiring) : wiring(wiring) {}
        void pulse(int controller, bool data, quint8 nibble) override;
        void pause(std::chrono::microseconds time) override;
        void setBacklight(bool on) override;

        // Starts afresh on a newly opened device.
        void attach(I2cDevice* to);
        // Sends what was gathered; the errno of the first failure since attach(), or 0.
        int send();

    private:
        quint8 pin(int number) const { return static_cast<quint8>(1u << number); }
        quint8 backlightBits() const;

        BackpackWiring wiring;
        I2cDevice* device = nullptr;
        bool lit = false;
        std::optional<quint8> pins; // as last written, none until then
        QByteArray gathered;
        int failure = 0;
    };

    bool sent(QString& error);
    QString reason(int error) const;

    BackpackPlace place;
    ModuleSettings settings;
    std::optional<I2cDevice> device;
    Expander expander;
    Hd44780FourBit module;
};
