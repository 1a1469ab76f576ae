#include "drivers/KernelLcd.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

// The kernel's own sequences, each after ESC [ L, but for the clear.
const QByteArray kClear("\f");
const QByteArray kDisplayOn("\x1b[LD");
const QByteArray kCursorOff("\x1b[Lc");
const QByteArray kBlinkOff("\x1b[Lb");
const QByteArray kBacklightOn("\x1b[L+");
const QByteArray kBacklightOff("\x1b[L-");

// Codes 8 to 15 show user-defined characters 0 to 7 on the panel, but the kernel takes some of
// them as backspace, tab, new line, clear and return; ESC would start a sequence.
char sendable(char code) {
    const auto value = quint8(code);
    if (value >= 8 && value < 16) {
        return char(value - 8);
    }
    return value == 0x1B ? ' ' : code;
}

QString openingReason(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QCoreApplication::translate(
            "KernelLcdLink",
            "périphérique introuvable : le module charlcd (hd44780, panel) est-il chargé ?");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate(
            "KernelLcdLink", "accès refusé : il faut le droit d'y écrire (une règle udev)");
    case EBUSY:
        return QCoreApplication::translate("KernelLcdLink", "déjà ouvert par un autre programme");
    default:
        return qt_error_string(error);
    }
}

} // namespace

KernelLcdLink::KernelLcdLink(QString device, const ModuleSettings& settings)
    : device(std::move(device)), settings(settings) {}

bool KernelLcdLink::open(QString& error) {
    // The device is write-only and open to one program at a time.
    FileDescriptor opened(
        ::open(QFile::encodeName(device).constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC));
    if (opened.get() < 0) {
        error = openingReason(errno);
        return false;
    }
    fd = std::move(opened);
    return send(kDisplayOn + kCursorOff + kBlinkOff + kClear +
                    (settings.backlight != 0 ? kBacklightOn : kBacklightOff),
                error);
}

void KernelLcdLink::close() {
    fd = FileDescriptor();
}

bool KernelLcdLink::hasBacklight() const {
    return true;
}

bool KernelLcdLink::setBacklight(bool on, QString& error) {
    return send(on && settings.backlight != 0 ? kBacklightOn : kBacklightOff, error);
}

bool KernelLcdLink::write(int line, int column, const QByteArray& codes, QString& error) {
    QByteArray bytes =
        QByteArray("\x1b[Lx") + QByteArray::number(column) + 'y' + QByteArray::number(line) + ';';
    for (const char code : codes) {
        bytes += sendable(code);
    }
    return send(bytes, error);
}

bool KernelLcdLink::defineGlyph(int slot, const GlyphRows& rows, QString& error) {
    QByteArray bytes = QByteArray("\x1b[LG") + char('0' + slot);
    for (const quint8 row : rows) {
        bytes += QByteArray::number(row & 0x1F, 16).rightJustified(2, '0');
    }
    return send(bytes + ';', error);
}

bool KernelLcdLink::send(const QByteArray& bytes, QString& error) {
    qsizetype done = 0;
    while (fd.get() >= 0 && done < bytes.size()) {
        const ssize_t written = ::write(fd.get(), bytes.constData() + done, bytes.size() - done);
        if (written >= 0) {
            done += written;
        } else if (const int failure = errno; failure != EINTR) {
            error = QCoreApplication::translate("KernelLcdLink", "écriture refusée (%1)")
                        .arg(qt_error_string(failure));
            close();
            return false;
        }
    }
    if (fd.get() < 0) {
        error = QCoreApplication::translate("KernelLcdLink", "pas ouvert");
        return false;
    }
    return true;
}
