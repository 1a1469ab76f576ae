#include "engine/LcdServer.h"

#include "platform/NonBlockingStream.h"

#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <sys/socket.h>

namespace {

constexpr int kBacklog = 64;
// How long a listening socket rests when a connection cannot be taken for want of descriptors.
constexpr int kAcceptRetryMs = 1000;

} // namespace

struct LcdServer::Listening {
    QSocketNotifier incoming;
    explicit Listening(int fd) : incoming(fd, QSocketNotifier::Read) {}
};

// One client: its lines are read a chunk at a time, carried out in order and answered; the
// answers wait while it does not read them, up to a limit.
class LcdServer::Connection : public QObject {
public:
    Connection(LcdServer& server, int id, FileDescriptor accepted)
        : QObject(&server), server(server), id(id), socket(std::move(accepted)),
          readable(socket.get(), QSocketNotifier::Read),
          writable(socket.get(), QSocketNotifier::Write) {
        writable.setEnabled(false);
        connect(&readable, &QSocketNotifier::activated, this, &Connection::read);
        connect(&writable, &QSocketNotifier::activated, this, &Connection::flush);
    }

    // One chunk at a time: what else came waits in the kernel while the others have their turn.
    void read() {
        const qsizetype kept = received.size();
        const std::optional<int> ended =
            stream::readSome(socket.get(), received, server.limits.readChunk);
        if (second.hasExpired()) {
            second.setRemainingTime(1000);
            readThisSecond = 0;
        }
        readThisSecond += received.size() - kept;
        if (readThisSecond > server.limits.maxPerSecond) {
            finish(
                QStringLiteral("plus de %1 octets en une seconde").arg(server.limits.maxPerSecond),
                false);
            return;
        }
        qsizetype start = 0;
        bool changed = false;
        for (qsizetype end = received.indexOf('\n', kept); end >= 0;
             end = received.indexOf('\n', start)) {
            QByteArray line = received.mid(start, end - start);
            start = end + 1;
            if (line.endsWith('\r')) {
                line.chop(1);
            }
            const CommandOutcome outcome = runCommand(server.screens, id, line, server.tick());
            unsent += outcome.reply;
            changed |= outcome.screensChanged;
            if (outcome.named) {
                Q_EMIT server.clientNamed(id, *outcome.named);
            }
            if (outcome.quit) {
                flush();
                finish({}, changed);
                return;
            }
        }
        received.remove(0, start);
        if (changed) {
            Q_EMIT server.screensChanged();
        }
        if (received.size() >= server.limits.maxLine) {
            finish(QStringLiteral("ligne de plus de %1 octets").arg(server.limits.maxLine), false);
            return;
        }
        if (ended) {
            finish(*ended == 0 ? QString() : qt_error_string(*ended), false);
            return;
        }
        flush();
    }

    // Goes out once the socket takes it, never at once: the caller may go on with the screens.
    void send(const QByteArray& line) {
        unsent += line;
        writable.setEnabled(true);
    }

    // Drops the connection; its screens go with it. Said to the program unless it closes.
    void finish(const QString& why, bool changed, bool tell = true) {
        if (!open()) {
            return;
        }
        readable.setEnabled(false);
        writable.setEnabled(false);
        socket = FileDescriptor();
        const auto client = server.screens.clients.find(id);
        if (client != server.screens.clients.end()) {
            changed |= !client->second.screens.empty();
            server.screens.clients.erase(client);
        }
        server.connections.erase(id);
        deleteLater();
        if (!tell) {
            return;
        }
        Q_EMIT server.clientLeft(id, why);
        if (changed) {
            Q_EMIT server.screensChanged();
        }
    }

    bool open() const { return socket.get() >= 0; }

private:
    void flush() {
        if (!open() || unsent.isEmpty()) {
            writable.setEnabled(false);
            return;
        }
        if (const int error = stream::writeSome(socket.get(), unsent); error != 0) {
            finish(qt_error_string(error), false);
            return;
        }
        if (unsent.size() > server.limits.maxUnsent) {
            finish(QStringLiteral("ne lit plus les réponses"), false);
            return;
        }
        writable.setEnabled(!unsent.isEmpty());
    }

    LcdServer& server;
    int id;
    FileDescriptor socket;
    QSocketNotifier readable;
    QSocketNotifier writable;
    QByteArray received; // a line not ended yet
    QByteArray unsent;
    QDeadlineTimer second{1000}; // the end of the second that counts what came
    qint64 readThisSecond = 0;
};

LcdServer::LcdServer(ClientScreens& screens, std::function<qint64()> tick, Limits limits,
                     QObject* parent)
    : QObject(parent), screens(screens), tick(std::move(tick)), limits(limits) {}

LcdServer::~LcdServer() {
    close();
}

QString LcdServer::listen(const LcddAddress& address) {
    const QString problem = listener.listen(address.host.toUtf8(), address.port, kBacklog);
    if (!problem.isEmpty()) {
        return problem;
    }
    for (const TcpListener::Socket& socket : listener.sockets()) {
        auto listening = std::make_unique<Listening>(socket.fd.get());
        listening->incoming.setEnabled(accepting);
        connect(&listening->incoming, &QSocketNotifier::activated, this,
                [this, l = listening.get()] { accept(*l); });
        notifiers.push_back(std::move(listening));
    }
    return {};
}

QStringList LcdServer::addresses() const {
    QStringList list;
    for (const TcpListener::Socket& socket : listener.sockets()) {
        list.append(socket.address);
    }
    return list;
}

void LcdServer::setAccepting(bool on) {
    accepting = on;
    for (const auto& listening : notifiers) {
        listening->incoming.setEnabled(on);
    }
}

void LcdServer::accept(Listening& listening) {
    QString peer;
    FileDescriptor socket = acceptTcp(listening.incoming.socket(), &peer);
    if (socket.get() < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) {
            // Out of descriptors: the connection stays queued, and looking again at once would
            // only spin.
            QSocketNotifier* incoming = &listening.incoming;
            incoming->setEnabled(false);
            QTimer::singleShot(kAcceptRetryMs, incoming,
                               [this, incoming] { incoming->setEnabled(accepting); });
        }
        return;
    }
    if (clientCount() >= limits.maxClients) {
        Q_EMIT clientRefused(peer, QStringLiteral("déjà %1 clients").arg(limits.maxClients));
        return; // closed at once
    }
    // The answers a client leaves unread stay few in the kernel too.
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDBUF, &limits.sendBuffer, sizeof limits.sendBuffer);
    const int id = nextClient++;
    screens.clients[id] = ServerClient{};
    auto* connection = new Connection(*this, id, std::move(socket));
    connections[id] = connection;
    Q_EMIT clientConnected(id, peer);
    connection->read(); // a client may have written before it was taken
}

void LcdServer::send(int client, const QByteArray& line) {
    if (const auto found = connections.find(client); found != connections.end()) {
        found->second->send(line);
    }
}

void LcdServer::close() {
    notifiers.clear();
    listener = TcpListener();
    while (!connections.empty()) {
        connections.begin()->second->finish({}, false, false);
    }
}
