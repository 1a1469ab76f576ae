#include "I2cBus.h"

#include "BusTiming.h"

#include <cerrno>
#include <linux/i2c-dev.h>
#include <linux/i2c.h>
#include <sys/sysmacros.h>

namespace emulated::detail {

namespace {

constexpr unsigned kI2cDevMajor = 89;
constexpr int kLastAddress = 0x7F;

// The bus number at the end of the path, as /dev/i2c-N has it.
unsigned busNumber(const QString& path) {
    qsizetype start = path.size();
    while (start > 0 && path[start - 1].isDigit()) {
        --start;
    }
    return path.mid(start).toUInt();
}

int failWith(int error) {
    errno = error;
    return -1;
}

// A file open on the bus: the address it talks to, and the transfers of i2c-dev.
class I2cHandle : public Handle {
public:
    explicit I2cHandle(std::shared_ptr<I2cBusFile> bus) : bus(std::move(bus)) {}

    ssize_t read(void* buffer, size_t size) override {
        I2cTarget* target = nullptr;
        if (const int error = reach(target)) {
            return failWith(error);
        }
        fill(*target, static_cast<quint8*>(buffer), size);
        return static_cast<ssize_t>(size);
    }

    ssize_t write(const void* buffer, size_t size) override {
        I2cTarget* target = nullptr;
        if (const int error = reach(target)) {
            return failWith(error);
        }
        take(*target, static_cast<const quint8*>(buffer), size);
        chargeI2c(bus->path, static_cast<int>(size) + 1);
        return static_cast<ssize_t>(size);
    }

    int ioctl(unsigned long request, void* argument) override {
        if (bus->gone) {
            return failWith(ENODEV);
        }
        switch (request) {
        case I2C_SLAVE:
        case I2C_SLAVE_FORCE: {
            const auto to = reinterpret_cast<unsigned long>(argument);
            if (to > kLastAddress) {
                return failWith(EINVAL);
            }
            address = static_cast<int>(to);
            return 0;
        }
        case I2C_FUNCS:
            *static_cast<unsigned long*>(argument) =
                I2C_FUNC_I2C | I2C_FUNC_SMBUS_QUICK | I2C_FUNC_SMBUS_BYTE;
            return 0;
        case I2C_RETRIES:
        case I2C_TIMEOUT:
            return 0;
        case I2C_RDWR:
            return transfer(*static_cast<i2c_rdwr_ioctl_data*>(argument));
        case I2C_SMBUS:
            return smbus(*static_cast<i2c_smbus_ioctl_data*>(argument));
        default:
            return failWith(ENOTTY);
        }
    }

private:
    // 0 with the device at `at`, else the errno of the bus: nothing acknowledges an address
    // where there is no device.
    int reach(I2cTarget*& target, int at) const {
        if (bus->gone) {
            return ENODEV;
        }
        const auto found = bus->targets.find(at);
        if (found == bus->targets.end()) {
            return EREMOTEIO;
        }
        target = found->second.get();
        return 0;
    }
    int reach(I2cTarget*& target) const { return reach(target, address); }

    static void fill(I2cTarget& target, quint8* bytes, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            bytes[i] = target.read();
        }
    }

    static void take(I2cTarget& target, const quint8* bytes, size_t size) {
        for (size_t i = 0; i < size; ++i) {
            target.write(bytes[i]);
        }
        target.written += static_cast<int>(size);
        viewChanged();
    }

    int transfer(const i2c_rdwr_ioctl_data& data) {
        if (data.nmsgs > I2C_RDWR_IOCTL_MAX_MSGS) {
            return failWith(EINVAL);
        }
        for (unsigned i = 0; i < data.nmsgs; ++i) {
            const i2c_msg& message = data.msgs[i];
            I2cTarget* target = nullptr;
            if (const int error = reach(target, message.addr)) {
                return failWith(error);
            }
            if (message.flags & I2C_M_RD) {
                fill(*target, message.buf, message.len);
            } else {
                take(*target, message.buf, message.len);
            }
            chargeI2c(bus->path, message.len + 1);
        }
        return static_cast<int>(data.nmsgs);
    }

    // A quick command (the address alone) and one-byte reads and writes: what a probe uses.
    int smbus(const i2c_smbus_ioctl_data& data) {
        I2cTarget* target = nullptr;
        if (data.size != I2C_SMBUS_QUICK && data.size != I2C_SMBUS_BYTE) {
            return failWith(EOPNOTSUPP);
        }
        if (reach(target) != 0) {
            return failWith(ENXIO);
        }
        if (data.size == I2C_SMBUS_BYTE && data.read_write == I2C_SMBUS_READ) {
            data.data->byte = target->read();
        } else if (data.size == I2C_SMBUS_BYTE) {
            take(*target, &data.command, 1);
        }
        return 0;
    }

    std::shared_ptr<I2cBusFile> bus;
    int address = -1; // none until I2C_SLAVE: nothing answers
};

} // namespace

I2cBusFile::I2cBusFile(const QString& path)
    : path(path.toStdString()), device(makedev(kI2cDevMajor, busNumber(path))) {}

std::unique_ptr<Handle> I2cBusFile::open() {
    return std::make_unique<I2cHandle>(shared_from_this());
}

Backpack::Backpack(std::shared_ptr<Module> module, const BackpackPins& pins)
    : module(std::move(module)), pins(pins) {}

ModuleWires Backpack::wires(quint8 value) const {
    ModuleWires wires;
    wires.rs = high(value, pins.rs);
    wires.readWrite = module->controllers() == 1 && high(value, pins.rw);
    // On a 40x4 the RW pin drives E2.
    wires.enable = {high(value, pins.e), high(value, pins.rw)};
    wires.nibble = (high(value, pins.d4) ? 1 : 0) | (high(value, pins.d5) ? 2 : 0) |
                   (high(value, pins.d6) ? 4 : 0) | (high(value, pins.d7) ? 8 : 0);
    wires.backlight = high(value, pins.backlight) == pins.backlightLitHigh;
    return wires;
}

void Backpack::write(quint8 byte) {
    const quint8 was = std::exchange(port, byte);
    drive(*module, wires(was), wires(byte));
}

} // namespace emulated::detail
