#pragma once

#include "DeviceFiles.h"
#include "EmulatedDevices.h"

#include <QtGlobal>
#include <map>
#include <memory>
#include <string>

namespace emulated::detail {

// Something that answers at an address of an I2C bus.
class I2cTarget {
public:
    virtual ~I2cTarget() = default;
    virtual void write(quint8 byte) = 0;
    virtual quint8 read() = 0;

    int written = 0;
};

// An i2c-dev file (/dev/i2c-N) and the devices on its bus.
class I2cBusFile : public DeviceFile, public std::enable_shared_from_this<I2cBusFile> {
public:
    explicit I2cBusFile(const QString& path);
    std::unique_ptr<Handle> open() override;
    dev_t number() const override { return device; }

    std::map<int, std::shared_ptr<I2cTarget>> targets; // by 7-bit address
    const std::string path;

private:
    dev_t device;
};

// A PCF8574 driving an HD44780 module: the module takes a nibble on each falling edge of an E
// while RW is low, from the pins as they stood while E was high.
class Backpack : public I2cTarget {
public:
    Backpack(std::shared_ptr<Module> module, const BackpackPins& pins);
    void write(quint8 byte) override;
    quint8 read() override { return port; }

private:
    bool high(quint8 value, int pin) const { return value & (1u << pin); }
    ModuleWires wires(quint8 value) const;

    std::shared_ptr<Module> module;
    BackpackPins pins;
    quint8 port = 0xFF; // a PCF8574 starts with every pin high
};

// A device that takes every byte and answers every read alike.
class PlainTarget : public I2cTarget {
public:
    explicit PlainTarget(quint8 answer) : answer(answer) {}
    void write(quint8) override {}
    quint8 read() override { return answer; }

private:
    quint8 answer;
};

} // namespace emulated::detail
