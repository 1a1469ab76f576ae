#include "drivers/LcddPanel.h"

#include "model/BigDigitGlyphs.h"

#include <QTcpSocket>
#include <algorithm>
#include <utility>

namespace {

// How long a server has, from the first try to reach it, to answer "hello".
constexpr int kGreetingMs = 3000;
constexpr int kRetryMs = 1000;
// How long the program's end may wait for the last frame to leave.
constexpr int kGoodbyeMs = 500;
// A reply longer than this without an end of line is not LCDd talking.
constexpr qsizetype kLongestReply = 4096;

const QByteArray kScreen = QByteArrayLiteral("R");

QString reasonFor(const QTcpSocket& socket) {
    QString reason;
    switch (socket.error()) {
    case QAbstractSocket::ConnectionRefusedError:
        reason = QStringLiteral("connexion refusée (LCDd est-il lancé ?)");
        break;
    case QAbstractSocket::RemoteHostClosedError:
        reason = QStringLiteral("le serveur a fermé la connexion");
        break;
    case QAbstractSocket::HostNotFoundError:
        reason = QStringLiteral("hôte inconnu");
        break;
    case QAbstractSocket::NetworkError:
        reason = QStringLiteral("réseau inaccessible");
        break;
    default:
        reason = QStringLiteral("erreur réseau");
        break;
    }
    // Qt's own text is English but names the system error, which helps more than the code alone.
    return QStringLiteral("%1 (%2)").arg(reason, socket.errorString());
}

QByteArray lineWidget(int line) {
    return "l" + QByteArray::number(line + 1);
}

QByteArray digitWidget(int i) {
    return "d" + QByteArray::number(i + 1);
}

// A reply as the log can show it: printable, and short.
QString printable(const QByteArray& reply) {
    QByteArray text = reply.left(40);
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c < 0x20 || c == 0x7F; }, '?');
    return QString::fromLatin1(text);
}

} // namespace

LcddPanel::LcddPanel(LcddAddress address, int columns, int lines, Log& log, QObject* parent)
    : QObject(parent), address(std::move(address)), columns(columns),
      lines(std::clamp(lines, 0, 4)), log(log) {
    greetingTimeout.setSingleShot(true);
    greetingTimeout.setInterval(kGreetingMs);
    connect(&greetingTimeout, &QTimer::timeout, this, [this] {
        lose(QStringLiteral("pas de réponse à « hello » en %1 s").arg(kGreetingMs / 1000));
    });
    retry.setSingleShot(true);
    retry.setInterval(kRetryMs);
    connect(&retry, &QTimer::timeout, this, &LcddPanel::connectToServer);
}

LcddPanel::~LcddPanel() {
    if (!socket) {
        return;
    }
    socket->disconnect(this);
    if (ready) {
        flush();
        if (socket->bytesToWrite() > 0) {
            socket->waitForBytesWritten(kGoodbyeMs);
        }
    }
    socket->abort();
}

void LcddPanel::init() {
    wanted = true;
    frame = {};
    current = 0;
    if (ready) {
        // A new screen is an empty one, whatever the old one held.
        socket->write("screen_del " + kScreen + "\n" + setUpCommands());
        scheduleFlush();
    } else if (!socket && !retry.isActive()) {
        connectToServer();
    }
}

void LcddPanel::lineStart(int line) {
    current = line;
    if (line >= 0 && line < 4) {
        frame[line].clear();
    }
    scheduleFlush();
}

void LcddPanel::write(const QByteArray& text) {
    if (current >= 0 && current < 4) {
        frame[current] += text;
    }
    scheduleFlush();
}

void LcddPanel::connectToServer() {
    received.clear();
    socket = std::make_unique<QTcpSocket>();
    connect(socket.get(), &QTcpSocket::connected, this, [this] { socket->write("hello\n"); });
    connect(socket.get(), &QTcpSocket::readyRead, this, &LcddPanel::readReplies);
    connect(socket.get(), &QTcpSocket::errorOccurred, this, [this] { lose(reasonFor(*socket)); });
    greetingTimeout.start();
    socket->connectToHost(address.host, address.port);
}

void LcddPanel::readReplies() {
    received += socket->readAll();
    qsizetype end;
    while (socket && (end = received.indexOf('\n')) >= 0) {
        const QByteArray line = received.left(end);
        received.remove(0, end + 1);
        if (!ready) {
            greet(line);
        } else if (line.startsWith("key ")) {
            Q_EMIT keyPressed(QString::fromLatin1(line.mid(4).trimmed()));
        }
    }
    if (socket && received.size() > kLongestReply) {
        lose(QStringLiteral("réponse illisible"));
    }
}

void LcddPanel::greet(const QByteArray& line) {
    const auto greeting = parseLcddGreeting(line);
    if (!greeting) {
        lose(QStringLiteral("réponse inattendue « %1 »").arg(printable(line)));
        return;
    }
    greetingTimeout.stop();
    size = *greeting;
    ready = true;
    if (failure.clear()) {
        reportFault(log, QStringLiteral("Serveur LCDd %1 retrouvé").arg(where()));
    }
    if (!sizeTold && (columns > size.width || lines > size.height)) {
        sizeTold = true;
        log.add(QStringLiteral("L'afficheur de LCDd n'a que %1 colonnes sur %2 lignes (C = %3, "
                               "L = %4) : les lignes sont coupées à sa taille")
                    .arg(size.width)
                    .arg(size.height)
                    .arg(columns)
                    .arg(lines));
        log.selectLast();
    }
    socket->write("client_set -name Relayeur\nclient_add_key Up Down\n" + setUpCommands());
    scheduleFlush();
}

// The screen and its line widgets, empty, as LCDd holds them after these commands.
QByteArray LcddPanel::setUpCommands() {
    shown = {};
    shownClock.reset();
    QByteArray commands = "screen_add " + kScreen + "\nscreen_set " + kScreen +
                          " -name Relayeur -priority foreground -heartbeat off\n";
    for (int i = 0; i < std::min(lines, size.height); ++i) {
        commands += "widget_add " + kScreen + " " + lineWidget(i) + " string\n";
    }
    return commands;
}

void LcddPanel::lose(const QString& reason) {
    greetingTimeout.stop();
    if (socket) {
        // Called from the socket's own signals: it goes once they have returned.
        QTcpSocket* gone = socket.release();
        gone->disconnect(this);
        gone->abort();
        gone->deleteLater();
    }
    const bool wasReady = std::exchange(ready, false);
    reportOnce(failure, log,
               QStringLiteral("Serveur LCDd %1 %2 : %3")
                   .arg(where(), wasReady ? QStringLiteral("perdu") : QStringLiteral("injoignable"),
                        reason));
    retry.start();
}

void LcddPanel::scheduleFlush() {
    if (!std::exchange(flushPending, true)) {
        QMetaObject::invokeMethod(this, &LcddPanel::flush, Qt::QueuedConnection);
    }
}

void LcddPanel::flush() {
    flushPending = false;
    if (!ready) {
        return;
    }
    const std::optional<BigClockFace> face =
        lines == 4 ? readBigClock(frame) : std::optional<BigClockFace>();
    QByteArray commands = clockCommands(face);
    for (int i = 0; i < std::min(lines, size.height); ++i) {
        const QByteArray text = face ? QByteArray() : frame[i].left(size.width);
        if (shown[i] != text) {
            shown[i] = text;
            commands += "widget_set " + kScreen + " " + lineWidget(i) + " 1 " +
                        QByteArray::number(i + 1) + " " + lcddQuoted(text) + "\n";
        }
    }
    if (!commands.isEmpty()) {
        socket->write(commands);
    }
}

// LCDd's big numbers in the places of the clock's digits, its colon (number 10) and the
// seconds in the corner; when the clock goes, so do they.
QByteArray LcddPanel::clockCommands(const std::optional<BigClockFace>& face) {
    QByteArray commands;
    if (!face) {
        if (shownClock) {
            for (int i = 0; i < 4; ++i) {
                commands += "widget_del " + kScreen + " " + digitWidget(i) + "\n";
            }
            commands += "widget_del " + kScreen + " c\nwidget_del " + kScreen + " s\n";
            shownClock.reset();
        }
        return commands;
    }
    if (!shownClock) {
        for (int i = 0; i < 4; ++i) {
            commands += "widget_add " + kScreen + " " + digitWidget(i) + " num\n";
        }
        commands += "widget_add " + kScreen + " c num\nwidget_add " + kScreen + " s string\n";
        commands += "widget_set " + kScreen + " c " + QByteArray::number(kBigClockColonColumn + 1) +
                    " 10\n";
    }
    for (int i = 0; i < 4; ++i) {
        if (!shownClock || shownClock->digits[i] != face->digits[i]) {
            commands += "widget_set " + kScreen + " " + digitWidget(i) + " " +
                        QByteArray::number(kBigClockDigitColumns[i] + 1) + " " +
                        QByteArray::number(face->digits[i]) + "\n";
        }
    }
    if (!shownClock || shownClock->seconds != face->seconds) {
        commands +=
            "widget_set " + kScreen + " s " + QByteArray::number(kBigClockSecondsColumn + 1) + " " +
            QByteArray::number(std::min(4, size.height)) + " " + lcddQuoted(face->seconds) + "\n";
    }
    shownClock = face;
    return commands;
}

QString LcddPanel::where() const {
    const bool v6 = address.host.contains(QLatin1Char(':'));
    return (v6 ? QStringLiteral("[%1]:%2") : QStringLiteral("%1:%2"))
        .arg(address.host)
        .arg(address.port);
}
