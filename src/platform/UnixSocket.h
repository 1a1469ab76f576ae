#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <sys/types.h>

// Unix-domain stream sockets in the file system, non-blocking and closed across exec.

// A socket listening at a path; the file goes when it closes.
class UnixListener {
public:
    UnixListener() = default;
    UnixListener(const UnixListener&) = delete;
    UnixListener& operator=(const UnixListener&) = delete;
    ~UnixListener();

    // Listens at `path`, once per listener. The file has the permission bits `mode` whatever
    // the umask, and never more even for a moment; up to `backlog` connections wait to be taken.
    // Fails with EADDRINUSE where a file is already there. Returns 0, or the error number.
    int listen(const QString& path, mode_t mode, int backlog);
    // The next waiting connection; none, errno telling why, when there is none (EAGAIN) or it
    // could not be taken.
    FileDescriptor accept() const;
    int fd() const { return socket.get(); }
    const QString& path() const { return where; }

private:
    FileDescriptor socket;
    QString where;
    QByteArray file; // the file made by listen(), removed on close
};

// Connects to `path` for a moment, without waiting: a Unix socket is answered at once. Returns
// 0 where a program listens there, even with a full queue; else the error, ECONNREFUSED for a
// file that nothing listens on any more (that of a program which is gone, or no socket at all),
// ENOENT where there is none.
int probeUnixSocket(const QString& path);

// A connection to the program listening at `path`, for a client that may wait: connecting gives
// up after `timeoutMs` (EAGAIN), as when that program takes no new connection. Invalid, errno
// telling why, when there is none.
FileDescriptor connectUnixSocket(const QString& path, int timeoutMs);

// Who is at the other end of a connection: the process that made it, and the name the kernel
// gives that process (its command, at most 15 bytes). Pid 0 when it cannot be had; the name is
// empty when the process is gone or hidden.
struct SocketPeer {
    pid_t pid = 0;
    QString name;
};
SocketPeer socketPeer(int fd);
