#pragma once

#include "drivers/LcddProtocol.h"
#include "lcdserver/ClientScreens.h"
#include "platform/TcpListener.h"

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cerrno>
#include <functional>
#include <memory>
#include <vector>

// LCDd's TCP client protocol, served: each line a client sends is carried out on the clients'
// screens, on the program's thread, and answered, at LCDd's pace: all clients at once, 8 times a
// second, so that clients cost few wake-ups. Whatever a client does (nothing, half a line,
// endless lines, a flood, answers it never reads, a thousand connections) costs a bounded amount
// of memory and time and never blocks the refresh or another client: it is dropped instead.
class LcdServer : public QObject {
    Q_OBJECT
public:
    struct Limits {
        int maxClients = 64;
        int maxLine = 8192;        // bytes of a line, its end included
        int readChunk = 16 * 1024; // bytes taken from a client at a tick
        int maxUnsent = 64 * 1024; // answers a client leaves unread before it is dropped
        // Ticks in a row that find more than a chunk waiting before a client is dropped for
        // sending faster than the server reads.
        int ticksBehind = 8;
        int sendBuffer = 64 * 1024; // what the kernel holds of the answers of one client
        int tickMs = 125;           // LCDd's: clients are read and answered 8 times a second
    };

    // `tick` is LCDd's clock for the commands, in eighths of a second.
    LcdServer(ClientScreens& screens, std::function<qint64()> tick, Limits limits,
              QObject* parent = nullptr);
    LcdServer(ClientScreens& screens, std::function<qint64()> tick, QObject* parent = nullptr)
        : LcdServer(screens, std::move(tick), Limits{}, parent) {}
    ~LcdServer() override;

    // Listens at `address`; what went wrong, empty once it listens. Connections wait in the
    // backlog until setAccepting(true).
    QString listen(const LcddAddress& address);
    QStringList addresses() const;
    bool loopbackOnly() const { return listener.loopbackOnly(); }
    bool addressTaken() const { return listener.error() == EADDRINUSE; } // after a failed listen
    void setAccepting(bool on);
    // Stops listening; every client is dropped and its screens go, without a word.
    void close();
    // Reads and answers every client: 8 times a second by itself, or whenever the caller says
    // once it paces the server (a refresh at least as frequent, which saves a wake-up).
    void serve();
    void setPacedFromOutside(bool outside);
    // Sends `line` (ended by '\n') to `client` at the next serve(), when it is still there.
    void send(int client, const QByteArray& line);
    int clientCount() const { return static_cast<int>(connections.size()); }

Q_SIGNALS:
    void clientConnected(int client, const QString& peer);
    void clientNamed(int client, const QString& name);
    // `why` is empty when the client closed the connection or said bye.
    void clientLeft(int client, const QString& why);
    // Once while the server is full: a crowd knocking at the door makes one line, not one each.
    void clientRefused(const QString& peer, const QString& why);
    void screensChanged();

private:
    class Connection;
    struct Listening;
    void accept(Listening& socket);

    ClientScreens& screens;
    std::function<qint64()> tick;
    Limits limits;
    TcpListener listener;
    std::vector<std::unique_ptr<Listening>> notifiers;
    std::map<int, std::unique_ptr<Connection>> connections;
    std::vector<int> serving; // the clients of a serve(), kept to save an allocation a tick
    QTimer ticks;             // while clients are connected, unless paced from outside
    bool paced = false;
    int nextClient = 1;
    bool accepting = false;
    bool refusing = false; // a refusal was told since the last place freed: the others are not
};
