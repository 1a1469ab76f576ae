#include "drivers/Serie.h"

#include "support/FakeLog.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTest>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <termios.h>
#include <unistd.h>

namespace {

// The far end of the line: a pseudo-terminal whose slave side the panel opens.
class Pty {
public:
    Pty() : master(::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        termios raw{};
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
            ::tcgetattr(master, &raw) != 0) {
            return;
        }
        ::cfmakeraw(&raw);
        ::tcsetattr(master, TCSANOW, &raw);
        slave = QString::fromLocal8Bit(::ptsname(master));
        notifier = std::make_unique<QSocketNotifier>(master, QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [this] {
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0) {
                received.append(buffer, n);
            } else if (errno != EAGAIN) {
                notifier->setEnabled(false); // the slave side was closed
            }
        });
    }
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;
    ~Pty() { closeMaster(); }

    void closeMaster() {
        notifier.reset();
        if (master >= 0) {
            ::close(master);
        }
        master = -1;
    }

    // What arrived up to the panel's fence character, which each test writes last.
    QByteArray receiveThroughFence() {
        (void)QTest::qWaitFor([this] { return received.endsWith(kFence); }, 10000);
        return std::exchange(received, QByteArray());
    }

    static inline const QByteArray kFence = "\x1E\x01#";
    QString slave;

private:
    int master;
    std::unique_ptr<QSocketNotifier> notifier;
    QByteArray received;
};

// What the panel receives for these characters: each behind its prefix.
QByteArray chars(const QByteArray& text) {
    QByteArray bytes;
    for (const char c : text) {
        bytes += QByteArray("\x1E\x01", 2) + c;
    }
    return bytes;
}

const QByteArray kSetUp("\x14\x18", 2);

} // namespace

TEST(SerialPanel, OpensOnTheFirstInitAndSendsEveryCodeBehindTheCharacterPrefix) {
    Pty pty;
    TempDir dir;
    const QString link = dir.file("ttyPanneau");
    ASSERT_TRUE(QFile::link(pty.slave, link));
    FakeLog log;
    SerialPanel panel(link, log);
    panel.lineStart(0); // the port is not open yet: dropped
    panel.write("avant");
    panel.init();
    panel.write("#");
    EXPECT_EQ(pty.receiveThroughFence(), kSetUp + Pty::kFence);

    // The path may go: the port opened by the first init serves every later one.
    ASSERT_TRUE(QFile::remove(link));
    const QByteArray codes("\x01\x0C\x14\x18\x1E\x00\xFF\x07", 8);
    panel.init();
    panel.lineStart(0);
    panel.write("Hi");
    panel.lineStart(1);
    panel.write(codes);
    panel.lineStart(2);
    panel.write("");
    panel.lineStart(3);
    panel.write("#");
    EXPECT_EQ(pty.receiveThroughFence(),
              kSetUp + "\x01" + chars("Hi") + "\x0C" + chars(codes) + "\x0C\x0C" + Pty::kFence);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(SerialPanel, ABusyLineKeepsOnlyTheNewestRefresh) {
    Pty pty;
    FakeLog log;
    SerialPanel panel(pty.slave, log);
    panel.init();
    panel.write("#");
    ASSERT_EQ(pty.receiveThroughFence(), kSetUp + Pty::kFence);

    // Bytes leave only from the event loop, so without it the first refresh keeps the line busy.
    const QByteArray busy = "\x01" + chars(QByteArray(400, 'a'));
    panel.lineStart(0);
    panel.write(QByteArray(400, 'a'));
    panel.lineStart(0);
    panel.write("B");
    panel.lineStart(0);
    panel.write("C");
    panel.lineStart(1);
    panel.write("#");
    EXPECT_EQ(pty.receiveThroughFence(), busy + "\x01" + chars("C") + "\x0C" + Pty::kFence);

    // A reset drops a held refresh: it showed the panel as it was before.
    panel.lineStart(0);
    panel.write(QByteArray(400, 'a'));
    panel.lineStart(0);
    panel.write("B");
    panel.init();
    panel.write("#");
    EXPECT_EQ(pty.receiveThroughFence(), busy + kSetUp + Pty::kFence);
}

TEST(SerialPanel, ADeviceThatCannotBeOpenedIsReportedOnce) {
    TempDir dir;
    FakeLog log;
    SerialPanel missing(dir.file("ttyAbsent"), log);
    SerialPanel unnamed(QString(), log);
    for (int i = 0; i < 3; ++i) {
        missing.init();
        missing.lineStart(0);
        missing.write("x");
        unnamed.init();
    }
    ASSERT_EQ(log.lines.size(), 2);
    EXPECT_TRUE(log.lines[0].startsWith("Port série " + dir.file("ttyAbsent") + " inaccessible : "))
        << log.lines[0].toStdString();
    EXPECT_TRUE(log.lines[1].startsWith("Port série : aucun périphérique"))
        << log.lines[1].toStdString();
    EXPECT_EQ(log.selections, QList<int>({1, 2}));
}

TEST(SerialPanel, ALostDeviceIsReportedOnceAndTheNextInitReopensIt) {
    TempDir dir;
    const QString link = dir.file("ttyUSB0");
    auto first = std::make_unique<Pty>();
    ASSERT_TRUE(QFile::link(first->slave, link));
    FakeLog log;
    SerialPanel panel(link, log);
    panel.init();
    panel.write("#");
    ASSERT_EQ(first->receiveThroughFence(), kSetUp + Pty::kFence);

    // The adapter is pulled out: the slave side of a pty whose master is gone fails with EIO.
    first.reset();
    ASSERT_TRUE(QFile::remove(link));
    panel.write("perdu");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.lines.isEmpty(); }, 10000));
    EXPECT_TRUE(log.lines[0].startsWith("Port série " + link + " perdu : "))
        << log.lines[0].toStdString();
    panel.write("x");
    panel.init(); // the device is still missing: tried again, but not reported again
    QCoreApplication::processEvents();
    EXPECT_EQ(log.lines.size(), 1);

    // Plugged in again: nothing queued for the lost line reaches the new one.
    Pty second;
    ASSERT_TRUE(QFile::link(second.slave, link));
    panel.init();
    panel.write("#");
    EXPECT_EQ(second.receiveThroughFence(), kSetUp + Pty::kFence);

    second.closeMaster();
    panel.write("y");
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.lines.size() > 1; }, 10000));
    EXPECT_TRUE(log.lines[1].startsWith("Port série " + link + " perdu : "));
}

TEST(SerialDevice, PortsKeyElseTheMatchingTtyS) {
    TempDir dir;
    const QString ini =
        dir.write("param.ini", "[Ports]\ncom2 = /dev/ttyUSB0\nCOM3=\nCOM0=/dev/ttyACM0\n");
    EXPECT_EQ(serialDeviceFor(ini, 2), "/dev/ttyUSB0");
    EXPECT_EQ(serialDeviceFor(ini, 3), "/dev/ttyS2");
    EXPECT_EQ(serialDeviceFor(ini, 1), "/dev/ttyS0");
    EXPECT_EQ(serialDeviceFor(ini, 0), "/dev/ttyACM0");
    EXPECT_EQ(serialDeviceFor(ini, -1), "");
    EXPECT_EQ(serialDeviceFor(dir.file("absent.ini"), 0), "");
}
