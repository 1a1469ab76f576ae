#include "shell/LineMessageServer.h"

#include "linemessage/LineMessage.h"

#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

// Whether a live program still listens on the socket at `path`; a socket left by a program that
// crashed refuses the connection at once.
bool answers(const QString& path) {
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool live = probe.waitForConnected(1000);
    probe.abort();
    return live;
}

// One sender: its messages are read piece by piece, answered one by one, and the connection
// ends when the sender leaves, misbehaves, or completes no message for too long.
class Connection : public QObject {
public:
    Connection(QLocalSocket* socket, const LineMessageServer::Limits& limits,
               const LineMessageServer::Handler& handler, std::function<void()> onEnd,
               QObject* parent)
        : QObject(parent), socket(socket), limits(limits), handler(handler),
          onEnd(std::move(onEnd)) {
        socket->setParent(this);
        // Qt reads no further from the kernel than this, so a flood waits in the sender.
        socket->setReadBufferSize(limits.readChunk);
        idle.setSingleShot(true);
        idle.start(limits.idleMs);
        connect(&idle, &QTimer::timeout, this, &Connection::end);
        connect(socket, &QLocalSocket::readyRead, this, &Connection::read);
        connect(socket, &QLocalSocket::disconnected, this, &Connection::end);
    }

    void end() {
        if (ended) {
            return;
        }
        ended = true;
        idle.stop();
        socket->abort();
        onEnd();
        deleteLater();
    }

private:
    void read() {
        while (!ended && socket->bytesAvailable() > 0) {
            QList<linemessage::FrameReader::Frame> frames;
            const bool usable = reader.feed(socket->read(limits.readChunk), frames);
            for (const auto& frame : frames) {
                socket->write(linemessage::encodeReply(handler(frame.dwData, frame.data)));
                idle.start(limits.idleMs);
            }
            // Answers that cannot even reach the kernel belong to a sender that stopped reading.
            socket->flush();
            if (!usable || socket->bytesToWrite() > limits.maxUnreadReply) {
                end();
            }
        }
    }

    QLocalSocket* socket;
    const LineMessageServer::Limits& limits;
    const LineMessageServer::Handler& handler;
    std::function<void()> onEnd;
    linemessage::FrameReader reader;
    QTimer idle;
    bool ended = false;
};

} // namespace

LineMessageServer::LineMessageServer(Handler handler, Limits limits, QObject* parent)
    : QObject(parent), handler(std::move(handler)), limits(limits) {}

LineMessageServer::~LineMessageServer() {
    close();
}

QStringList LineMessageServer::listen(const QString& dir, const QStringList& names) {
    QStringList problems;
    if (const QString problem = linemessage::preparePrivateDir(dir); !problem.isEmpty()) {
        return {problem};
    }
    for (const QString& name : names) {
        const QString path = linemessage::socketPath(dir, name);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink()) {
            if (answers(path)) {
                problems.append(path + QStringLiteral(" : déjà utilisé par un autre programme"));
                continue;
            }
            QLocalServer::removeServer(path);
        }
        auto server = std::make_unique<QLocalServer>();
        server->setSocketOptions(QLocalServer::UserAccessOption);
        server->setMaxPendingConnections(limits.maxConnections);
        if (!server->listen(path)) {
            problems.append(path + QStringLiteral(" : ") + server->errorString());
            continue;
        }
        QLocalServer* s = server.get();
        connect(s, &QLocalServer::newConnection, this, [this, s] { accept(*s); });
        servers.push_back(std::move(server));
    }
    return problems;
}

void LineMessageServer::accept(QLocalServer& server) {
    while (server.hasPendingConnections()) {
        QLocalSocket* socket = server.nextPendingConnection();
        if (connections >= limits.maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++connections;
        new Connection(
            socket, limits, handler, [this] { --connections; }, this);
    }
}

void LineMessageServer::close() {
    servers.clear(); // each server removes its socket as it closes
    for (QObject* child : children()) {
        if (auto* connection = dynamic_cast<Connection*>(child)) {
            connection->end();
        }
    }
}

QStringList LineMessageServer::socketPaths() const {
    QStringList paths;
    for (const auto& server : servers) {
        paths.append(server->fullServerName());
    }
    return paths;
}
