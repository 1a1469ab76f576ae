#pragma once

#include <QByteArray>
#include <QFile>
#include <QTest>
#include <fcntl.h>
#include <functional>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

// The far end of a serial line: a raw pseudo-terminal whose slave side the panel opens.
class PseudoTerminal {
public:
    PseudoTerminal() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios raw{};
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0 &&
            ::tcgetattr(master, &raw) == 0) {
            ::cfmakeraw(&raw);
            ::tcsetattr(master, TCSANOW, &raw);
            slave = QFile::decodeName(::ptsname(master));
        }
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    ~PseudoTerminal() { close(); }

    // Unplugs the line: writes on the slave side fail from now on.
    void close() {
        if (master >= 0) {
            ::close(master);
        }
        master = -1;
    }

    // Reads, with the event loop running, until what has arrived satisfies `done`; 30 s at most.
    bool receiveUntil(const std::function<bool(const QByteArray&)>& done) {
        return QTest::qWaitFor(
            [&] {
                char buffer[4096];
                for (ssize_t n; master >= 0 && (n = ::read(master, buffer, sizeof buffer)) > 0;) {
                    received.append(buffer, n);
                }
                return done(received);
            },
            30000);
    }

    QString slave;
    QByteArray received;

private:
    int master;
};
