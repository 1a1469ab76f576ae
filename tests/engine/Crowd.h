#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QTest>
#include <cerrno>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <utility>
#include <vector>

// Connections opened by the hundred, as a hostile program of the machine opens them: without
// waiting, each sending a few bytes once, none ever reading. The server runs in the test's event
// loop, which turns while they wait.
struct Crowd {
    std::vector<FileDescriptor> sockets;

    // Enough descriptors for a crowd of `count` beside the program's own.
    static bool roomFor(int count) {
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        limit.rlim_cur = limit.rlim_max;
        return ::setrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur > rlim_t(count) + 200;
    }

    // One more to `address`, knocking again while the listener's queue is full; false when the
    // connection cannot be made.
    bool join(const sockaddr* address, socklen_t size, const QByteArray& bytes) {
        QCoreApplication::processEvents(); // the server takes the last one in
        FileDescriptor fd(
            ::socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        int error = 0;
        const bool made = QTest::qWaitFor([&] {
            error = ::connect(fd.get(), address, size) == 0 ? 0 : errno;
            return error != EAGAIN;
        });
        pollfd out{fd.get(), POLLOUT, 0};
        if (!made || (error != 0 && error != EINPROGRESS) ||
            !QTest::qWaitFor([&] { return ::poll(&out, 1, 0) == 1; })) {
            return false;
        }
        socklen_t length = sizeof error;
        ::getsockopt(fd.get(), SOL_SOCKET, SO_ERROR, &error, &length);
        if (error != 0) {
            return false;
        }
        if (!bytes.isEmpty()) {
            ::send(fd.get(), bytes.constData(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        }
        sockets.push_back(std::move(fd));
        return true;
    }

    // How many the server has closed.
    int closedByTheServer() const {
        int closed = 0;
        for (const FileDescriptor& fd : sockets) {
            char byte = 0;
            const ssize_t got = ::recv(fd.get(), &byte, 1, MSG_PEEK | MSG_DONTWAIT);
            closed += got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
        }
        return closed;
    }
};
