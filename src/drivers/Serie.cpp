#include "drivers/Serie.h"

#include "platform/NonBlockingStream.h"
#include "platform/SerialLine.h"

#include <QFile>
#include <cerrno>
#include <utility>

namespace {

const QByteArray kSetUp("\x14\x18", 2);
constexpr char kFirstLine = 0x01;
constexpr char kNextLine = 0x0C;
const QByteArray kCharacter("\x1E\x01", 2);

// About one second of line time at 9600,n,8,1. A panel slower than the refresh period would
// otherwise fall ever further behind while the queue grows without end.
constexpr qint64 kBacklogLimit = 960;
// How long the program's end may wait for the last bytes.
constexpr qint64 kGoodbyeMs = 500;
// How often a refresh may try a missing device again.
constexpr qint64 kRetryMs = 1000;

QString unplugged() {
    return SerialPanel::tr("périphérique débranché ou en panne");
}

// Why the device would not open, in the user's words; `error` is an errno value.
QString openingReason(int error) {
    switch (error) {
    case ENOENT:
    case ENODEV:
        return SerialPanel::tr("périphérique introuvable");
    case EACCES:
    case EPERM:
    case EBUSY:
        return SerialPanel::tr("accès refusé ou port déjà utilisé");
    case EIO:
    case ENXIO:
        return unplugged();
    case EINVAL:
    case ENOTTY:
        return SerialPanel::tr("réglage 9600,n,8,1 refusé");
    default:
        return SerialPanel::tr("erreur");
    }
}

// Why an open line failed: a device pulled out shows as one of these.
QString writingReason(int error) {
    return error == EIO || error == ENXIO || error == ENODEV ? unplugged()
                                                             : SerialPanel::tr("erreur d'écriture");
}

// The system's own words name the error, which helps more than the code alone.
QString describe(const QString& reason, int error) {
    return QStringLiteral("%1 (%2)").arg(reason, qt_error_string(error));
}

} // namespace

SerialPanel::SerialPanel(QString device, Log& log, QObject* parent)
    : QObject(parent), device(std::move(device)), log(log) {
    connect(&writable, &QSocketNotifier::activated, this, &SerialPanel::onWritable);
}

SerialPanel::~SerialPanel() {
    drain();
}

void SerialPanel::reset() {
    wanted = true;
    if (!port && !open()) {
        return;
    }
    failure.clear(); // a reset, not a recovery: nothing to tell
    // Whatever waited for the line belongs to the panel as it was before this reset.
    held.clear();
    holding = false;
    send(kSetUp);
}

void SerialPanel::show(const Frame& frame) {
    writeFrame(
        frame, [this](int line) { lineStart(line); },
        [this](const QByteArray& text) { write(text); });
}

void SerialPanel::lineStart(int line) {
    if (line == 0 && !port) {
        reopen();
    }
    if (line == 0 && port) {
        // A refresh begun while the line is still busy is kept aside, and replaced by the next
        // one, until the line drains: the panel shows the newest text, a little late at worst.
        held.clear();
        holding = pending.size() > kBacklogLimit;
    }
    send(QByteArray(1, line == 0 ? kFirstLine : kNextLine));
}

void SerialPanel::write(const QByteArray& text) {
    if (!port) {
        return;
    }
    QByteArray bytes;
    bytes.reserve(text.size() * 3);
    for (const char c : text) {
        bytes += kCharacter;
        bytes += c;
    }
    send(bytes);
}

void SerialPanel::reopen() {
    if (!wanted || (lastAttempt.isValid() && !lastAttempt.hasExpired(kRetryMs))) {
        return;
    }
    if (open()) {
        send(kSetUp);
        if (failure.clear()) {
            reportFault(log, tr("Port série %1 retrouvé").arg(device));
        }
    }
}

bool SerialPanel::open() {
    lastAttempt.start();
    if (device.isEmpty()) {
        reportOnce(failure, log,
                   tr("Port série : aucun périphérique (COM ou [ports] de param.ini)"));
        return false;
    }
    auto candidate = std::make_unique<SerialLine>(QFile::encodeName(device), B9600);
    if (!candidate->isOpen()) {
        const int error = candidate->error();
        reportOnce(failure, log,
                   tr("Port série %1 inaccessible : %2")
                       .arg(device, describe(openingReason(error), error)));
        return false;
    }
    port = std::move(candidate);
    writable.setSocket(port->get());
    return true;
}

// Queued only: the bytes go out from the event loop, when the line can take them.
void SerialPanel::send(const QByteArray& bytes) {
    if (!port || bytes.isEmpty()) {
        return;
    }
    if (holding) {
        held += bytes;
        return;
    }
    pending += bytes;
    writable.setEnabled(true);
}

void SerialPanel::sendHeld() {
    if (holding && pending.size() <= kBacklogLimit) {
        holding = false;
        send(std::exchange(held, QByteArray()));
    }
}

// The line said it could take bytes.
void SerialPanel::onWritable() {
    const qsizetype before = pending.size();
    if (const int error = stream::writeSome(port->get(), pending)) {
        lose(error);
        return;
    }
    // Ready yet taking nothing: the line may have hung up.
    if (pending.size() == before && stream::hungUp(port->get())) {
        lose(EIO);
        return;
    }
    sendHeld();
    writable.setEnabled(!pending.isEmpty());
}

// The program ends with the panel reset: those last bytes must leave before the port closes,
// so here, and only here, the line is waited for, briefly.
void SerialPanel::drain() {
    if (port) {
        stream::writeAll(port->get(), pending, QDeadlineTimer(kGoodbyeMs));
    }
}

// Left open, a vanished device would wake the loop again and again.
void SerialPanel::lose(int error) {
    writable.setSocket(-1);
    port.reset();
    pending.clear();
    held.clear();
    holding = false;
    reportOnce(failure, log,
               tr("Port série %1 perdu : %2").arg(device, describe(writingReason(error), error)));
}
