#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <vector>

// TCP sockets that listen on the addresses of a host, non-blocking and closed across exec.
class TcpListener {
public:
    struct Socket {
        FileDescriptor fd;
        QString address; // as the log writes it: 127.0.0.1:13666, [::1]:13666
        bool loopback = false;
    };

    // Listens on every address of `host` (a name or a numeric address; empty: every address of
    // the machine) at `port`. Returns what went wrong where no address could be listened on;
    // empty once at least one listens.
    QString listen(const QByteArray& host, quint16 port, int backlog);
    const std::vector<Socket>& sockets() const { return listening; }
    int error() const { return lastError; } // of the last address that failed, 0 for none
    // Whether every address listened on belongs to this machine alone.
    bool loopbackOnly() const;

private:
    std::vector<Socket> listening;
    int lastError = 0;
};

// The next waiting connection on `listener`; invalid, errno telling why, when there is none
// (EAGAIN) or it could not be taken. `peer` gets the other end, as the log writes it.
FileDescriptor acceptTcp(int listener, QString* peer);
