#pragma once

#include "platform/UnixSocket.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// Receives line messages on local sockets that only this user can reach and hands each one to
// the window, on the window's thread. Whatever a sender does (nothing, half a message, a
// message too long, a flood of them) costs a bounded amount of memory and never blocks.
class LineMessageServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxConnections = 16;
        int idleMs = 5000;    // a connection that completes no message for this long is dropped
        int readChunk = 4096; // bytes read from a connection at a time
        int maxUnreadReply = 4096; // answers a sender leaves unread before it is dropped
    };
    // Takes one message (dwData and the bytes of it that are taken) and the process that sent
    // it; returns the answer to its sender.
    using Handler =
        std::function<quint32(quint32 dwData, const QByteArray& data, const SocketPeer& sender)>;

    explicit LineMessageServer(Handler handler, Limits limits, QObject* parent = nullptr);
    explicit LineMessageServer(Handler handler, QObject* parent = nullptr)
        : LineMessageServer(std::move(handler), Limits{}, parent) {}
    ~LineMessageServer() override;

    // Listens on `dir`/`name` for each name, in a directory made private to the user. A socket
    // that a run which crashed left behind is replaced; one that still answers is left alone.
    // Returns what went wrong, one text per socket that could not be opened.
    QStringList listen(const QString& dir, const QStringList& names);
    // Whether connections are taken; those made while they are not wait in the backlog.
    void setAccepting(bool on);
    // Stops listening and removes the sockets; connections still open are dropped.
    void close();
    QStringList socketPaths() const;
    int connectionCount() const { return connections; }

private:
    class Connection;
    struct Listener;
    void accept(Listener& listener);

    Handler handler;
    Limits limits;
    std::vector<std::unique_ptr<Listener>> listeners;
    QByteArray chunk; // the bytes of one read, whichever connection they come from
    int connections = 0;
    bool accepting = true;
};
