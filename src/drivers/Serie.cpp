#include "drivers/Serie.h"

#include <QSerialPort>
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

QString reasonFor(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("périphérique introuvable");
    case QSerialPort::PermissionError:
        return QStringLiteral("accès refusé ou port déjà utilisé");
    case QSerialPort::ResourceError:
        return QStringLiteral("périphérique débranché ou en panne");
    case QSerialPort::WriteError:
        return QStringLiteral("erreur d'écriture");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("réglage 9600,n,8,1 refusé");
    default:
        return QStringLiteral("erreur");
    }
}

// Qt's own text is English but names the system error, which helps more than the code alone.
QString describe(const QSerialPort& port) {
    return QStringLiteral("%1 (%2)").arg(reasonFor(port.error()), port.errorString());
}

} // namespace

SerialPanel::SerialPanel(QString device, Log& log, QObject* parent)
    : QObject(parent), device(std::move(device)), log(log) {}

// The program ends with the panel reset: those last bytes must leave before the port closes,
// so here, and only here, the line is waited for, briefly.
SerialPanel::~SerialPanel() {
    QElapsedTimer waited;
    waited.start();
    while (port && port->bytesToWrite() > 0 && waited.elapsed() < kGoodbyeMs) {
        if (!port->waitForBytesWritten(static_cast<int>(kGoodbyeMs - waited.elapsed()))) {
            break;
        }
    }
}

void SerialPanel::init() {
    wanted = true;
    if (!port && !open()) {
        return;
    }
    failure.clear(); // a reset, not a recovery: nothing to tell
    // Whatever waited for the line belongs to the panel as it was before this reset.
    held.clear();
    holding = false;
    port->write(kSetUp);
}

void SerialPanel::lineStart(int line) {
    if (line == 0 && !port) {
        reopen();
    }
    if (line == 0 && port) {
        // A refresh begun while the line is still busy is kept aside, and replaced by the next
        // one, until the line drains: the panel shows the newest text, a little late at worst.
        held.clear();
        holding = port->bytesToWrite() > kBacklogLimit;
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
        port->write(kSetUp);
        if (failure.clear()) {
            reportFault(log, QStringLiteral("Port série %1 retrouvé").arg(device));
        }
    }
}

bool SerialPanel::open() {
    lastAttempt.start();
    if (device.isEmpty()) {
        reportOnce(failure, log,
                   QStringLiteral("Port série : aucun périphérique (COM ou [ports] de param.ini)"));
        return false;
    }
    auto candidate = std::make_unique<QSerialPort>(device);
    candidate->setBaudRate(QSerialPort::Baud9600);
    candidate->setDataBits(QSerialPort::Data8);
    candidate->setParity(QSerialPort::NoParity);
    candidate->setStopBits(QSerialPort::OneStop);
    candidate->setFlowControl(QSerialPort::NoFlowControl);
    if (!candidate->open(QIODevice::WriteOnly)) {
        reportOnce(
            failure, log,
            QStringLiteral("Port série %1 inaccessible : %2").arg(device, describe(*candidate)));
        return false;
    }
    connect(candidate.get(), &QSerialPort::errorOccurred, this,
            [this](QSerialPort::SerialPortError error) {
                if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError) {
                    lose();
                }
            });
    connect(candidate.get(), &QSerialPort::bytesWritten, this, &SerialPanel::sendHeld);
    port = std::move(candidate);
    return true;
}

void SerialPanel::send(const QByteArray& bytes) {
    if (!port || bytes.isEmpty()) {
        return;
    }
    if (holding) {
        held += bytes;
    } else {
        port->write(bytes);
    }
}

void SerialPanel::sendHeld() {
    if (holding && port->bytesToWrite() <= kBacklogLimit) {
        holding = false;
        port->write(std::exchange(held, QByteArray()));
    }
}

// Called from the port's own signal, so the port is deleted once that signal has returned.
// Left open, a vanished device would raise the same error again at every turn of the loop.
void SerialPanel::lose() {
    const QString reason = describe(*port);
    QSerialPort* gone = port.release();
    gone->disconnect(this);
    gone->close();
    gone->deleteLater();
    held.clear();
    holding = false;
    reportOnce(failure, log, QStringLiteral("Port série %1 perdu : %2").arg(device, reason));
}
