#include "platform/I2cDevice.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <linux/i2c-dev.h>
#include <sys/ioctl.h>
#include <unistd.h>

I2cDevice::I2cDevice(const QString& path)
    : fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC)) {
    if (!isOpen()) {
        failure = errno;
    }
}

bool I2cDevice::fail() {
    failure = errno;
    return false;
}

bool I2cDevice::setAddress(int address) {
    if (!isOpen()) {
        return false;
    }
    if (address < 0 || address > 0x7F) {
        failure = EINVAL;
        return false;
    }
    return ::ioctl(fd.get(), I2C_SLAVE, static_cast<unsigned long>(address)) == 0 || fail();
}

bool I2cDevice::write(const QByteArray& bytes) {
    if (!isOpen()) {
        return false;
    }
    ssize_t written;
    do {
        written = ::write(fd.get(), bytes.constData(), static_cast<size_t>(bytes.size()));
    } while (written < 0 && errno == EINTR);
    if (written < 0) {
        return fail();
    }
    // i2c-dev sends a whole message or fails it: a short count means the device stopped taking.
    if (written != bytes.size()) {
        failure = EIO;
        return false;
    }
    return true;
}

std::optional<quint8> I2cDevice::readByte() {
    if (!isOpen()) {
        return std::nullopt;
    }
    quint8 byte = 0;
    ssize_t got;
    do {
        got = ::read(fd.get(), &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got != 1) {
        failure = got < 0 ? errno : EIO;
        return std::nullopt;
    }
    return byte;
}

std::optional<quint8> I2cDevice::readByteAt(int address) {
    if (!setAddress(address)) {
        return std::nullopt;
    }
    return readByte();
}
