#include "engine/LineMessageServer.h"

#include "linemessage/LineMessage.h"
#include "platform/NonBlockingStream.h"
#include "platform/RuntimeDir.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Connections the kernel holds until they are taken.
constexpr int kBacklog = 50;
// How long a socket rests when a connection cannot be taken for want of descriptors or memory.
constexpr int kAcceptRetryMs = 1000;

} // namespace

struct LineMessageServer::Listener {
    UnixListener socket;
    QSocketNotifier incoming{QSocketNotifier::Read};
};

// One sender: its messages are read piece by piece, answered one by one, and the connection
// ends when the sender leaves, misbehaves, or completes no message for too long.
class LineMessageServer::Connection : public QObject {
public:
    Connection(LineMessageServer& server, FileDescriptor accepted)
        : QObject(&server), server(server), socket(std::move(accepted)),
          sender(socketPeer(socket.get())), readable(socket.get(), QSocketNotifier::Read),
          writable(socket.get(), QSocketNotifier::Write) {
        writable.setEnabled(false);
        idle.setSingleShot(true);
        idle.start(server.limits.idleMs);
        connect(&readable, &QSocketNotifier::activated, this, &Connection::read);
        connect(&writable, &QSocketNotifier::activated, this, &Connection::send);
        connect(&idle, &QTimer::timeout, this, &Connection::end);
    }

    // Takes at most one chunk, so that a flood waits in the sender's kernel buffer while the
    // window and the other senders have their turn.
    void read() {
        const Limits& limits = server.limits;
        server.chunk.resize(0);
        const std::optional<int> ended =
            stream::readSome(socket.get(), server.chunk, limits.readChunk);
        QList<linemessage::FrameReader::Frame> frames;
        const bool usable = reader.feed(server.chunk, frames);
        for (const auto& frame : frames) {
            unsent.append(
                linemessage::encodeReply(server.handler(frame.dwData, frame.data, sender)));
            idle.start(limits.idleMs);
        }
        send();
        // The sender left, the connection broke, or it spoke nonsense.
        if (ended || !usable) {
            end();
        }
    }

    void end() {
        if (socket.get() < 0) {
            return;
        }
        readable.setEnabled(false);
        writable.setEnabled(false);
        idle.stop();
        socket = FileDescriptor();
        --server.connections;
        deleteLater();
    }

private:
    // Hands the kernel what it takes of the answers; the rest waits until the
    // socket is writable again, unless it shows a sender that stopped reading.
    void send() {
        if (socket.get() < 0 || unsent.isEmpty()) {
            return;
        }
        if (stream::writeSome(socket.get(), unsent) != 0 ||
            unsent.size() > server.limits.maxUnreadReply) {
            end();
            return;
        }
        writable.setEnabled(!unsent.isEmpty());
    }

    LineMessageServer& server;
    FileDescriptor socket;
    SocketPeer sender; // looked up once: a sender that has gone by its turn is still named
    QSocketNotifier readable;
    QSocketNotifier writable;
    QTimer idle;
    linemessage::FrameReader reader;
    QByteArray unsent;
};

LineMessageServer::LineMessageServer(Handler handler, Limits limits, QObject* parent)
    : QObject(parent), handler(std::move(handler)), limits(limits) {}

LineMessageServer::~LineMessageServer() {
    close();
}

QStringList LineMessageServer::listen(const QString& dir, const QStringList& names) {
    QStringList problems;
    if (const QString problem = preparePrivateDir(dir, ::getuid(), OpenToOthers::MakePrivate);
        !problem.isEmpty()) {
        return {problem};
    }
    for (const QString& name : names) {
        const QString path = linemessage::socketPath(dir, name);
        const int probe = probeUnixSocket(path);
        if (probe == 0) {
            problems.append(tr("%1 : déjà utilisé par un autre programme").arg(path));
            continue;
        }
        if (probe == ECONNREFUSED || probe == ENOENT) {
            // Left by a run that crashed, or a link to nowhere.
            ::unlink(QFile::encodeName(path).constData());
        }
        auto listener = std::make_unique<Listener>();
        if (const int error = listener->socket.listen(path, S_IRWXU, kBacklog); error != 0) {
            problems.append(path + QStringLiteral(" : ") + qt_error_string(error));
            continue;
        }
        listener->incoming.setSocket(listener->socket.fd());
        listener->incoming.setEnabled(accepting);
        connect(&listener->incoming, &QSocketNotifier::activated, this,
                [this, l = listener.get()] { accept(*l); });
        listeners.push_back(std::move(listener));
    }
    return problems;
}

// One connection at a time: the socket stays readable while others wait.
void LineMessageServer::accept(Listener& listener) {
    FileDescriptor socket = listener.socket.accept();
    if (socket.get() < 0) {
        if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR && errno != ECONNABORTED) {
            // Out of descriptors or memory, the connection stays queued: looking again at once
            // would only spin.
            QSocketNotifier* incoming = &listener.incoming;
            incoming->setEnabled(false);
            QTimer::singleShot(kAcceptRetryMs, incoming,
                               [incoming] { incoming->setEnabled(true); });
        }
        return;
    }
    if (connections >= limits.maxConnections) {
        return; // closed at once
    }
    ++connections;
    // A sender may have written before it was taken.
    (new Connection(*this, std::move(socket)))->read();
}

void LineMessageServer::setAccepting(bool on) {
    accepting = on;
    for (const auto& listener : listeners) {
        listener->incoming.setEnabled(on);
    }
}

void LineMessageServer::close() {
    listeners.clear(); // each removes its socket as it closes
    for (QObject* child : children()) {
        if (auto* connection = dynamic_cast<Connection*>(child)) {
            connection->end();
        }
    }
}

QStringList LineMessageServer::socketPaths() const {
    QStringList paths;
    for (const auto& listener : listeners) {
        paths.append(listener->socket.path());
    }
    return paths;
}
