#include "engine/LcdServer.h"

#include "platform/NonBlockingStream.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <sys/socket.h>
#include <utility>

namespace {

constexpr int kBacklog = 64;
// How long a listening socket rests when a connection cannot be taken for want of descriptors.
constexpr int kAcceptRetryMs = 1000;

} // namespace

struct LcdServer::Listening {
    QSocketNotifier incoming;
    explicit Listening(int fd) : incoming(fd, QSocketNotifier::Read) {}
};

// One client: at each tick of the server, what it sent is read up to a chunk, its lines carried
// out in order, and the answers sent; the answers wait while it does not read them, up to a limit.
class LcdServer::Connection {
public:
    Connection(LcdServer& server, int id, FileDescriptor accepted)
        : server(server), id(id), socket(std::move(accepted)) {}

    int fd() const { return socket.get(); }

    // One chunk at a time: what else came waits in the kernel while the others have their turn.
    // False once the connection is gone.
    bool read() {
        const qsizetype kept = received.size();
        const std::optional<int> ended =
            stream::readOnce(socket.get(), received, server.limits.readChunk);
        // A client whose chunk is full tick after tick sends faster than the server reads.
        behind = received.size() - kept == server.limits.readChunk ? behind + 1 : 0;
        qsizetype start = 0;
        bool changed = false;
        for (qsizetype end = received.indexOf('\n', kept); end >= 0;
             end = received.indexOf('\n', start)) {
            const qsizetype length = end - start - (end > start && received[end - 1] == '\r');
            // The line is read in place: a command keeps none of it but copies of its words.
            const QByteArray line = QByteArray::fromRawData(received.constData() + start, length);
            start = end + 1;
            const CommandOutcome outcome = runCommand(server.screens, id, line, server.tick());
            unsent += outcome.reply;
            changed |= outcome.screensChanged;
            if (outcome.named) {
                Q_EMIT server.clientNamed(id, *outcome.named);
            }
            if (outcome.quit) {
                return flush() && finish({}, changed);
            }
        }
        received.remove(0, start);
        if (changed) {
            Q_EMIT server.screensChanged();
        }
        if (received.size() >= server.limits.maxLine) {
            return finish(QCoreApplication::translate("LcdServer", "ligne de plus de %1 octets")
                              .arg(server.limits.maxLine));
        }
        if (ended) {
            return finish(*ended == 0 ? QString() : qt_error_string(*ended));
        }
        if (behind > server.limits.ticksBehind) {
            return finish(
                QCoreApplication::translate("LcdServer", "envoie plus vite que Relayeur ne lit"));
        }
        return true;
    }

    // Goes out at the next tick: the caller may go on with the screens.
    void send(const QByteArray& line) { unsent += line; }

    // Hands the kernel what it takes of the answers. False once the connection is gone.
    bool flush() {
        if (unsent.isEmpty()) {
            return true;
        }
        if (const int error = stream::writeSome(socket.get(), unsent); error != 0) {
            return finish(qt_error_string(error));
        }
        if (unsent.size() > server.limits.maxUnsent) {
            return finish(QCoreApplication::translate("LcdServer", "ne lit plus les réponses"));
        }
        return true;
    }

    // Drops the connection; its screens go with it. Said to the program unless it closes.
    // Always false: the connection is gone.
    bool finish(const QString& why, bool changed = false, bool tell = true) {
        const auto client = server.screens.clients.find(id);
        if (client != server.screens.clients.end()) {
            changed |= !client->second.screens.empty();
            server.screens.clients.erase(client);
        }
        LcdServer& owner = server;
        const int gone = id;
        owner.connections.erase(gone); // this goes with it
        owner.refusing = false;
        if (owner.connections.empty()) {
            owner.ticks.stop();
        }
        if (tell) {
            Q_EMIT owner.clientLeft(gone, why);
            if (changed) {
                Q_EMIT owner.screensChanged();
            }
        }
        return false;
    }

private:
    LcdServer& server;
    int id;
    FileDescriptor socket;
    QByteArray received; // a line not ended yet
    QByteArray unsent;
    int behind = 0; // ticks in a row that found more than a chunk waiting
};

LcdServer::LcdServer(ClientScreens& screens, std::function<qint64()> tick, Limits limits,
                     QObject* parent)
    : QObject(parent), screens(screens), tick(std::move(tick)), limits(limits) {
    ticks.setInterval(limits.tickMs);
    ticks.setTimerType(Qt::PreciseTimer);
    connect(&ticks, &QTimer::timeout, this, &LcdServer::serve);
}

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
        if (!std::exchange(refusing, true)) {
            Q_EMIT clientRefused(peer, tr("déjà %1 clients").arg(limits.maxClients));
        }
        return; // closed at once
    }
    // The answers a client leaves unread stay few in the kernel too.
    ::setsockopt(socket.get(), SOL_SOCKET, SO_SNDBUF, &limits.sendBuffer, sizeof limits.sendBuffer);
    const int id = nextClient++;
    screens.clients[id] = ServerClient{};
    connections[id] = std::make_unique<Connection>(*this, id, std::move(socket));
    if (!paced) {
        ticks.start();
    }
    Q_EMIT clientConnected(id, peer);
}

// LCDd's tick: every client is read and answered, all in one wake-up, so that many clients each
// sending a little cost what a single one does. Each is simply read: a busy server finds
// something from most clients, and a read that finds nothing costs what asking first would.
void LcdServer::serve() {
    serving.clear();
    for (const auto& entry : connections) {
        serving.push_back(entry.first);
    }
    for (const int id : serving) {
        const auto found = connections.find(id);
        // A client may be gone with what an earlier one did.
        if (found != connections.end() && found->second->read()) {
            found->second->flush();
        }
    }
}

void LcdServer::setPacedFromOutside(bool outside) {
    paced = outside;
    if (paced || connections.empty()) {
        ticks.stop();
    } else {
        ticks.start();
    }
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
