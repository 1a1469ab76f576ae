#include "drivers/MatrixOrbital.h"

#include "platform/NonBlockingStream.h"
#include "platform/SerialLine.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr char kCommand = char(0xFE);
constexpr char kClear = 'X';
constexpr char kGoTo = 'G'; // column, line, both from 1
constexpr char kDefineGlyph = 'N';
constexpr char kBacklightOn = 'B'; // minutes before it goes off, 0 for never
constexpr char kBacklightOff = 'F';
constexpr char kContrast = 'P';
constexpr char kBlockCursorOff = 'T';
constexpr char kUnderlineCursorOff = 'K';
constexpr char kLineWrapOff = 'D';
constexpr char kAutoScrollOff = 'R';
constexpr char kReadType = '7';

QByteArray command(char name) {
    return QByteArray(1, kCommand) + name;
}

// Known module types by their code, the character modules people still find.
struct KnownModel {
    quint8 code;
    const char* name;
};
constexpr KnownModel kModels[] = {
    {0x01, "LCD0821"},      {0x02, "LCD2021"},      {0x05, "LCD2041"},      {0x06, "LCD4021"},
    {0x07, "LCD4041"},      {0x08, "LK202-25"},     {0x09, "LK204-25"},     {0x0A, "LK404-55"},
    {0x0E, "VK202-25"},     {0x0F, "VK204-25"},     {0x2B, "LK204-7T-1U"},  {0x34, "LK162-12"},
    {0x55, "LK202-25-USB"}, {0x56, "VK202-25-USB"}, {0x57, "LK204-25-USB"}, {0x58, "VK204-25-USB"},
    {0x73, "LK404-25"},     {0x74, "LK404-25-USB"},
};

// Codes 8 to 15 show user-defined characters 0 to 7 on the panel, but the module takes them as
// backspace, line feed and the like; 0xFE would start a command.
char sendable(char code) {
    const auto value = quint8(code);
    if (value >= 8 && value < 16) {
        return char(value - 8);
    }
    return value == quint8(kCommand) ? ' ' : code;
}

// Why the device would not open, in the user's words; `error` is an errno value.
QString openingReason(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return QCoreApplication::translate("MatrixOrbitalLink",
                                           "périphérique introuvable : le module est-il branché ?");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate(
            "MatrixOrbitalLink", "accès refusé : l'utilisateur doit être du groupe dialout");
    case EBUSY:
        return QCoreApplication::translate("MatrixOrbitalLink",
                                           "déjà utilisé par un autre programme");
    case EINVAL:
    case ENOTTY:
        return QCoreApplication::translate("MatrixOrbitalLink", "ce n'est pas une ligne série");
    default:
        return qt_error_string(error);
    }
}

} // namespace

MatrixOrbitalLink::MatrixOrbitalLink(QString device, int bitsPerSecond,
                                     const ModuleSettings& settings)
    : device(std::move(device)), bitsPerSecond(bitsPerSecond), settings(settings) {}

MatrixOrbitalLink::~MatrixOrbitalLink() = default;

bool MatrixOrbitalLink::open(QString& error) {
    const speed_t speed = lineSpeed(bitsPerSecond).value_or(B19200);
    auto opened = std::make_unique<SerialLine>(QFile::encodeName(device), speed);
    if (!opened->isOpen()) {
        error = openingReason(opened->error());
        return false;
    }
    line = std::move(opened);
    QByteArray start = command(kClear) + command(kLineWrapOff) + command(kAutoScrollOff) +
                       command(kBlockCursorOff) + command(kUnderlineCursorOff);
    if (const auto contrast = matrixOrbitalContrast(settings.contrast)) {
        start += command(kContrast) + char(*contrast);
    }
    start += settings.backlight != 0 ? command(kBacklightOn) + '\0' : command(kBacklightOff);
    return send(start, error);
}

void MatrixOrbitalLink::close() {
    line.reset();
}

bool MatrixOrbitalLink::hasBacklight() const {
    return true;
}

bool MatrixOrbitalLink::setBacklight(bool on, QString& error) {
    return send(on && settings.backlight != 0 ? command(kBacklightOn) + '\0'
                                              : command(kBacklightOff),
                error);
}

bool MatrixOrbitalLink::write(int line, int column, const QByteArray& codes, QString& error) {
    QByteArray bytes = command(kGoTo) + char(column + 1) + char(line + 1);
    for (const char code : codes) {
        bytes += sendable(code);
    }
    return send(bytes, error);
}

bool MatrixOrbitalLink::defineGlyph(int slot, const GlyphRows& rows, QString& error) {
    QByteArray bytes = command(kDefineGlyph) + char(slot);
    for (const quint8 row : rows) {
        bytes += char(row & 0x1F);
    }
    return send(bytes, error);
}

// The line is non-blocking: here it is waited for, for twice the time the bytes take at its speed
// and a second more, since the panel's thread is the only one to wait.
bool MatrixOrbitalLink::send(QByteArray bytes, QString& error) {
    if (!line) {
        error = QCoreApplication::translate("MatrixOrbitalLink", "pas ouvert");
        return false;
    }
    const qint64 lineMs = bytes.size() * 10 * 1000 / std::max(bitsPerSecond, 1200);
    if (stream::writeAll(line->get(), bytes, QDeadlineTimer(1000 + 2 * lineMs))) {
        return true;
    }
    error = stream::hungUp(line->get())
                ? QCoreApplication::translate("MatrixOrbitalLink", "débranché ou en panne")
                : QCoreApplication::translate("MatrixOrbitalLink",
                                              "le module ne prend plus rien (vitesse = %1 ?)")
                      .arg(bitsPerSecond);
    line.reset();
    return false;
}

std::optional<int> matrixOrbitalSpeed(const QString& text) {
    bool number = false;
    const int value = text.trimmed().toInt(&number);
    return number && lineSpeed(value) ? std::optional<int>(value) : std::nullopt;
}

std::optional<quint8> matrixOrbitalContrast(int percent) {
    if (percent <= 0) {
        return std::nullopt;
    }
    return quint8((std::min(percent, 100) * 255 + 50) / 100);
}

std::optional<MatrixOrbitalType> readModuleType(const QByteArray& answer) {
    if (answer.size() != 1 || answer[0] == '\0' || answer[0] == kCommand) {
        return std::nullopt;
    }
    MatrixOrbitalType type{quint8(answer[0]), QString()};
    for (const KnownModel& known : kModels) {
        if (known.code == type.code) {
            type.model = QString::fromLatin1(known.name);
        }
    }
    return type;
}

std::optional<MatrixOrbitalType> probeMatrixOrbital(int fd, int waitMs) {
    QByteArray query = command(kReadType);
    QDeadlineTimer deadline(waitMs);
    if (!stream::writeAll(fd, query, deadline)) {
        return std::nullopt;
    }
    // The answer is one byte; a second one arriving soon after shows a device that says more.
    // A raw line reads nothing rather than blocking, so arrivals are polled for.
    QByteArray answer;
    for (pollfd line{fd, POLLIN, 0};
         ::poll(&line, 1, int(deadline.remainingTime())) > 0 && (line.revents & POLLIN);) {
        char bytes[16];
        const ssize_t got = ::read(fd, bytes, sizeof bytes);
        if (got <= 0) {
            break;
        }
        answer.append(bytes, got);
        deadline = QDeadlineTimer(std::min<qint64>(deadline.remainingTime(), 50));
    }
    return readModuleType(answer);
}
