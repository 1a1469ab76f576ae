#pragma once

#include "platform/FileDescriptor.h"

#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <stdlib.h>
#include <termios.h>

// The far end of a serial line: a raw pseudo-terminal whose slave side the panel opens.
struct PseudoTerminal {
    FileDescriptor master{::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)};
    QString slave;
    QByteArray received;

    PseudoTerminal() {
        const int fd = master.get();
        termios raw{};
        if (fd >= 0 && ::grantpt(fd) == 0 && ::unlockpt(fd) == 0 && ::tcgetattr(fd, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(fd, TCSANOW, &raw);
            slave = QFile::decodeName(::ptsname(fd));
        }
    }

    // Unplugs the line: writes on the slave side fail from now on.
    void close() { master = FileDescriptor(); }

    // Reads, with the event loop running, until what has arrived satisfies `done`; 30 s at most.
    bool receiveUntil(const std::function<bool(const QByteArray&)>& done) {
        return QTest::qWaitFor(
            [&] {
                char buffer[4096];
                for (ssize_t n; (n = ::read(master.get(), buffer, sizeof buffer)) > 0;) {
                    received.append(buffer, n);
                }
                return done(received);
            },
            30000);
    }
};
