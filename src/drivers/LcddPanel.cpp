#include "drivers/LcddPanel.h"

#include "model/BigDigitGlyphs.h"
#include "model/TwoDigits.h"
#include "platform/NonBlockingStream.h"

#include <QDeadlineTimer>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <sys/socket.h>
#include <utility>

namespace {

// How long a server has, from the first try to reach it, to answer "hello".
constexpr int kGreetingMs = 3000;
constexpr int kRetryMs = 1000;
// How long the program's end may wait for the last frame to leave.
constexpr int kGoodbyeMs = 500;
// A reply longer than this without an end of line is not LCDd talking.
constexpr qsizetype kLongestReply = 4096;
// The input is taken at least that often, refreshes or not (a stopped feed).
constexpr int kQuietMs = 5000;

const QByteArray kScreen = QByteArrayLiteral("R");

// Why a connection failed with `systemError` (0: the server closed it), with the system's words.
QString reasonFor(int systemError) {
    QString reason;
    switch (systemError) {
    case 0:
    case ECONNRESET:
    case EPIPE:
        return LcddPanel::tr("le serveur a fermé la connexion");
    case ECONNREFUSED:
        reason = LcddPanel::tr("connexion refusée (LCDd est-il lancé ?)");
        break;
    case ENETUNREACH:
    case EHOSTUNREACH:
        reason = LcddPanel::tr("réseau inaccessible");
        break;
    default:
        reason = LcddPanel::tr("erreur réseau");
        break;
    }
    return QStringLiteral("%1 (%2)").arg(reason, qt_error_string(systemError));
}

// The next whole line of `received`, taken out of it; nothing while none has ended.
std::optional<QByteArray> takeLine(QByteArray& received) {
    const qsizetype end = received.indexOf('\n');
    if (end < 0) {
        return std::nullopt;
    }
    QByteArray line = received.left(end);
    received.remove(0, end + 1);
    return line;
}

QByteArray lineWidget(int line) {
    return "l" + QByteArray::number(line + 1);
}

QByteArray digitWidget(int i) {
    return "d" + QByteArray::number(i + 1);
}

// The clock's four big digits, HH MM.
std::array<int, 4> clockDigits(const ClockTime& time) {
    return {time.hour / 10, time.hour % 10, time.minute / 10, time.minute % 10};
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
    connect(&greetingTimeout, &QTimer::timeout, this,
            [this] { lose(tr("pas de réponse à « hello » en %1 s").arg(kGreetingMs / 1000)); });
    retry.setSingleShot(true);
    retry.setInterval(kRetryMs);
    connect(&retry, &QTimer::timeout, this, &LcddPanel::connectToServer);
    quiet.setInterval(kQuietMs);
    connect(&quiet, &QTimer::timeout, this, &LcddPanel::takeInput);
    connect(&writable, &QSocketNotifier::activated, this, [this] {
        if (connecting) {
            connectionMade();
        } else {
            send({});
        }
    });
    connect(&readable, &QSocketNotifier::activated, this, &LcddPanel::readGreeting);
}

LcddPanel::~LcddPanel() {
    if (!ready) {
        return;
    }
    // The last commands (the reset of the way out) still leave if the server takes them in time;
    // nothing is told any more.
    stream::writeAll(connection.get(), unsent, QDeadlineTimer(kGoodbyeMs));
}

void LcddPanel::reset() {
    wanted = true;
    texts = {};
    clock.reset();
    if (ready) {
        // A new screen is an empty one, whatever the old one held.
        send("screen_del " + kScreen + "\n" + setUpCommands());
    } else if (!lookup && connection.get() < 0 && !retry.isActive()) {
        connectToServer();
    }
}

void LcddPanel::show(const Frame& frame) {
    for (int i = 0; i < std::min(frame.lines, int(texts.size())); ++i) {
        if (frame.rows[i]) {
            texts[i] = *frame.rows[i];
        }
    }
    clock = frame.clock;
    latin1 = frame.panelCodes;
    if (ready) {
        send(frameCommands());
    }
}

bool LcddPanel::setBacklight(bool on) {
    if (std::exchange(backlit, on) != on && ready) {
        send("screen_set " + kScreen + " -backlight " + (on ? "on" : "off") + "\n");
    }
    return true;
}

void LcddPanel::connectToServer() {
    received.clear();
    greetingTimeout.start();
    lookup = std::make_unique<HostLookup>(QUrl::toAce(address.host), address.port);
    connect(lookup.get(), &HostLookup::finished, this, [this] {
        if (lookup->addresses().empty()) {
            lose(tr("hôte inconnu (%1)").arg(lookup->error()));
            return;
        }
        tryAddress(0, 0);
    });
}

// Addresses are tried in turn, as "localhost" may name an IPv6 address LCDd does not listen on.
// `error` is why the address before failed.
void LcddPanel::tryAddress(std::size_t index, int error) {
    const std::vector<HostLookup::Address>& addresses = lookup->addresses();
    for (; index < addresses.size(); ++index) {
        const HostLookup::Address& a = addresses[index];
        connection = FileDescriptor(
            ::socket(a.address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        if (connection.get() < 0) {
            error = errno;
            continue;
        }
        if (::connect(connection.get(), reinterpret_cast<const sockaddr*>(&a.address), a.length) ==
                0 ||
            errno == EINPROGRESS) {
            addressTried = index;
            connecting = true;
            writable.setSocket(connection.get());
            writable.setEnabled(true);
            return;
        }
        error = errno;
    }
    connection = FileDescriptor();
    lose(reasonFor(error));
}

void LcddPanel::connectionMade() {
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(connection.get(), SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        error = errno;
    }
    writable.setEnabled(false);
    if (error != 0) {
        writable.setSocket(-1);
        connecting = false;
        tryAddress(addressTried + 1, error);
        return;
    }
    connecting = false;
    dropLookup();
    readable.setSocket(connection.get());
    readable.setEnabled(true);
    send("hello\n");
}

// Also called from the lookup's own signal: it goes once that has returned.
void LcddPanel::dropLookup() {
    if (lookup) {
        lookup->disconnect(this);
        lookup.release()->deleteLater();
    }
}

// Only the greeting: what follows it waits for the next takeInput.
void LcddPanel::readGreeting() {
    const std::optional<int> ended = stream::readSome(connection.get(), received);
    while (!ready && connection.get() >= 0) {
        const std::optional<QByteArray> line = takeLine(received);
        if (!line) {
            break;
        }
        greet(*line);
    }
    if (ready || connection.get() < 0) {
        return;
    }
    if (received.size() > kLongestReply) {
        lose(tr("réponse illisible"));
    } else if (ended) {
        lose(reasonFor(*ended));
    }
}

void LcddPanel::takeInput() {
    if (!ready) {
        return;
    }
    quiet.start();
    const std::optional<int> ended = stream::readSome(connection.get(), received);
    takeLines();
    if (ready && received.size() > kLongestReply) {
        lose(tr("réponse illisible"));
    } else if (ready && ended) {
        lose(reasonFor(*ended));
    }
}

// The keys among LCDd's lines; its answers to the commands say nothing this panel needs.
void LcddPanel::takeLines() {
    while (ready) {
        const std::optional<QByteArray> line = takeLine(received);
        if (!line) {
            break;
        }
        if (line->startsWith("key ")) {
            Q_EMIT keyPressed(QString::fromLatin1(line->mid(4).trimmed()));
        }
    }
}

void LcddPanel::greet(const QByteArray& line) {
    const auto greeting = parseLcddGreeting(line);
    if (!greeting) {
        lose(tr("réponse inattendue « %1 »").arg(printable(line)));
        return;
    }
    greetingTimeout.stop();
    // From now on nothing watches the connection for reading: each of LCDd's answers would wake
    // the program.
    readable.setEnabled(false);
    quiet.start();
    size = *greeting;
    ready = true;
    if (failure.clear()) {
        reportFault(log, tr("Serveur LCDd %1 retrouvé").arg(where()));
    }
    if (!sizeTold && (columns > size.width || lines > size.height)) {
        sizeTold = true;
        log.add(tr("L'afficheur de LCDd n'a que %1 colonnes sur %2 lignes (C = %3, L = "
                   "%4) : les lignes sont coupées à sa taille")
                    .arg(size.width)
                    .arg(size.height)
                    .arg(columns)
                    .arg(lines));
        log.selectLast();
    }
    QByteArray commands = "client_set -name Relayeur\nclient_add_key Up Down\n" + setUpCommands();
    commands += frameCommands(); // the last frame, on the screen just made
    send(commands);
}

// The screen and its line widgets, empty, as LCDd holds them after these commands.
QByteArray LcddPanel::setUpCommands() {
    shown = {};
    shownClock.reset();
    QByteArray commands = "screen_add " + kScreen + "\nscreen_set " + kScreen +
                          " -name Relayeur -priority foreground -heartbeat off" +
                          (backlit ? "" : " -backlight off") + "\n";
    for (int i = 0; i < std::min(lines, size.height); ++i) {
        commands += "widget_add " + kScreen + " " + lineWidget(i) + " string\n";
    }
    return commands;
}

void LcddPanel::lose(const QString& reason) {
    greetingTimeout.stop();
    quiet.stop();
    dropLookup();
    connecting = false;
    writable.setEnabled(false);
    writable.setSocket(-1);
    readable.setEnabled(false);
    readable.setSocket(-1);
    connection = FileDescriptor();
    unsent.clear();
    const bool wasReady = std::exchange(ready, false);
    reportOnce(
        failure, log,
        (wasReady ? tr("Serveur LCDd %1 perdu : %2") : tr("Serveur LCDd %1 injoignable : %2"))
            .arg(where(), reason));
    retry.start();
}

void LcddPanel::send(const QByteArray& commands) {
    unsent += commands;
    if (const int error = stream::writeSome(connection.get(), unsent)) {
        lose(reasonFor(error));
        return;
    }
    // Watched only while a write waits for room.
    writable.setEnabled(!unsent.isEmpty());
}

// The commands that bring LCDd from what it shows to the last frame. The big clock takes LCDd's
// big numbers only on a four-line panel, whose height they need.
QByteArray LcddPanel::frameCommands() {
    const std::optional<ClockTime> bigClock = lines == 4 ? clock : std::nullopt;
    QByteArray commands = clockCommands(bigClock);
    for (int i = 0; i < std::min(lines, size.height); ++i) {
        const QByteArray text = bigClock ? QByteArray() : texts[i].left(size.width);
        if (shown[i] != text) {
            shown[i] = text;
            commands += "widget_set " + kScreen + " " + lineWidget(i) + " 1 " +
                        QByteArray::number(i + 1) + " " + lcddQuoted(text, latin1) + "\n";
        }
    }
    return commands;
}

// LCDd's big numbers in the places of the clock's digits, its colon (number 10) and the
// seconds in the corner; when the clock goes, so do they.
QByteArray LcddPanel::clockCommands(const std::optional<ClockTime>& face) {
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
    const std::array<int, 4> digits = clockDigits(*face);
    const std::optional<std::array<int, 4>> shownDigits =
        shownClock ? std::optional(clockDigits(*shownClock)) : std::nullopt;
    for (int i = 0; i < 4; ++i) {
        if (!shownDigits || (*shownDigits)[i] != digits[i]) {
            commands += "widget_set " + kScreen + " " + digitWidget(i) + " " +
                        QByteArray::number(kBigClockDigitColumns[i] + 1) + " " +
                        QByteArray::number(digits[i]) + "\n";
        }
    }
    if (!shownClock || shownClock->second != face->second) {
        commands += "widget_set " + kScreen + " s " +
                    QByteArray::number(kBigClockSecondsColumn + 1) + " " +
                    QByteArray::number(std::min(4, size.height)) + " " +
                    lcddQuoted(TwoDigits(face->second)) + "\n";
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
