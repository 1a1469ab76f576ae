#include "platform/UnixSocket.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

namespace {

// The address of `file`; false where it does not fit.
bool addressOf(const QByteArray& file, sockaddr_un& address) {
    address = sockaddr_un{};
    address.sun_family = AF_UNIX;
    if (file.isEmpty() || static_cast<size_t>(file.size()) >= sizeof(address.sun_path)) {
        errno = file.isEmpty() ? ENOENT : ENAMETOOLONG;
        return false;
    }
    std::memcpy(address.sun_path, file.constData(), file.size());
    return true;
}

FileDescriptor newSocket() {
    return FileDescriptor(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
}

} // namespace

UnixListener::~UnixListener() {
    if (!file.isEmpty()) {
        ::unlink(file.constData());
    }
}

int UnixListener::listen(const QString& path, mode_t mode, int backlog) {
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address;
    if (!addressOf(encoded, address)) {
        return errno;
    }
    FileDescriptor opened = newSocket();
    // On Linux the file is born with the socket's mode, less the umask.
    if (opened.get() < 0 || ::fchmod(opened.get(), mode) != 0 ||
        ::bind(opened.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        return errno;
    }
    if (::chmod(encoded.constData(), mode) != 0 || ::listen(opened.get(), backlog) != 0) {
        const int error = errno;
        ::unlink(encoded.constData());
        return error;
    }
    socket = std::move(opened);
    where = path;
    file = encoded;
    return 0;
}

FileDescriptor UnixListener::accept() const {
    return FileDescriptor(::accept4(socket.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
}

int probeUnixSocket(const QString& path) {
    sockaddr_un address;
    if (!addressOf(QFile::encodeName(path), address)) {
        return errno;
    }
    const FileDescriptor probe = newSocket();
    if (probe.get() < 0) {
        return errno;
    }
    if (::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
        return 0;
    }
    // A connect that a signal interrupts goes on by itself.
    return errno == EAGAIN || errno == EINTR ? 0 : errno;
}

FileDescriptor connectUnixSocket(const QString& path, int timeoutMs) {
    sockaddr_un address;
    if (!addressOf(QFile::encodeName(path), address)) {
        return {};
    }
    FileDescriptor connection(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    // A blocking connect on a Unix socket waits for room in the queue, as long as SO_SNDTIMEO.
    const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    if (connection.get() < 0 ||
        ::setsockopt(connection.get(), SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout) != 0 ||
        ::connect(connection.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
            0) {
        return {};
    }
    return connection;
}

SocketPeer socketPeer(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0 ||
        credentials.pid <= 0) {
        return {};
    }
    QFile comm(QStringLiteral("/proc/%1/comm").arg(credentials.pid));
    if (!comm.open(QIODevice::ReadOnly)) {
        return {credentials.pid, {}};
    }
    QByteArray name = comm.readAll();
    if (name.endsWith('\n')) {
        name.chop(1);
    }
    return {credentials.pid, QString::fromUtf8(name)};
}
