#include "PortIo.h"

#include "platform/FileDescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/ppdev.h>
#include <sys/ioctl.h>
#include <utility>

#if defined(__i386__) || defined(__x86_64__)
#include <sys/io.h>
#endif

PortIo::~PortIo() = default;

namespace {
QString failure(const QString& device, const QString& reason) {
    return QCoreApplication::translate("PortIo", "Port parallèle %1 inaccessible : %2")
        .arg(device, reason);
}

QString failure(const QString& device, int code) {
    return failure(device, QString::fromLocal8Bit(std::strerror(code)));
}

// The program moves E by reading the control register back and writing it with one bit changed,
// so it reads back what it wrote, kept here: PPRCONTROL gives only the kernel's copy of bits 0-3,
// and 0xF7 would come back as 0x07. Bit 5 never reaches the kernel, which would turn the data
// lines into inputs and leave the panel's bus floating.
class PpdevPort : public PortIo {
public:
    explicit PpdevPort(FileDescriptor fd) : fd(std::move(fd)) {}
    ~PpdevPort() override { ::ioctl(fd.get(), PPRELEASE); }

    void writePort(quint16 port, quint8 value) override {
        if (port == kParallelData) {
            ::ioctl(fd.get(), PPWDATA, &value);
        } else if (port == kParallelControl) {
            control = value;
            quint8 pins = value & ~kParallelReverseData;
            ::ioctl(fd.get(), PPWCONTROL, &pins);
        }
    }

    quint8 readPort(quint16 port) override { return port == kParallelControl ? control : 0xFF; }

private:
    FileDescriptor fd; // closed after the port is released
    quint8 control = 0;
};

std::unique_ptr<PortIo> openPpdev(const QString& path, QString* error) {
    FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC));
    if (fd.get() < 0 || ::ioctl(fd.get(), PPCLAIM) != 0) {
        *error = failure(path, errno);
        return nullptr;
    }
    return std::make_unique<PpdevPort>(std::move(fd));
}

const QString kDirectName = QStringLiteral("0x378");

#if defined(__i386__) || defined(__x86_64__)
// The registers themselves. Bit 5 is kept off the control register for the same reason as with
// ppdev, and the program reads back what it wrote: the unused high bits read differently from
// one chip to the next.
class DirectPort : public PortIo {
public:
    DirectPort() = default;
    DirectPort(const DirectPort&) = delete;
    DirectPort& operator=(const DirectPort&) = delete;
    ~DirectPort() override { ::ioperm(kParallelData, 3, 0); }

    void writePort(quint16 port, quint8 value) override {
        if (port == kParallelData) {
            ::outb(value, port);
        } else if (port == kParallelControl) {
            control = value;
            ::outb(value & ~kParallelReverseData, port);
        }
    }

    quint8 readPort(quint16 port) override {
        if (port == kParallelControl) {
            return control;
        }
        return port == kParallelData || port == kParallelStatus ? ::inb(port) : 0xFF;
    }

private:
    quint8 control = 0;
};

std::unique_ptr<PortIo> openDirect(QString* error) {
    if (::ioperm(kParallelData, 3, 1) != 0) {
        *error = failure(kDirectName, errno);
        return nullptr;
    }
    return std::make_unique<DirectPort>();
}
#else
std::unique_ptr<PortIo> openDirect(QString* error) {
    *error = failure(kDirectName, QCoreApplication::translate(
                                      "PortIo", "pas d'accès direct aux ports sur cette machine"));
    return nullptr;
}
#endif
} // namespace

std::unique_ptr<PortIo> openParallelPort(const QString& setting, QString* error) {
    QString why;
    std::unique_ptr<PortIo> port =
        setting == QLatin1String("direct") ? openDirect(&why) : openPpdev(setting, &why);
    if (!port && error) {
        *error = why;
    }
    return port;
}
