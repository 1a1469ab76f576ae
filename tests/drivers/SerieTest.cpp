#include "drivers/Serie.h"

#include "support/FakeLog.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kFence = "\x1E\x01#"; // written last by each test

// What arrived up to the fence.
QByteArray throughFence(PseudoTerminal& pty) {
    EXPECT_TRUE(pty.receiveUntil([](const QByteArray& r) { return r.endsWith(kFence); }));
    return std::exchange(pty.received, QByteArray());
}

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
    PseudoTerminal pty;
    TempDir dir;
    const QString link = dir.file("ttyPanneau");
    ASSERT_TRUE(QFile::link(pty.slave, link));
    FakeLog log;
    SerialPanel panel(link, log);
    panel.lineStart(0); // the port is not open yet: dropped
    panel.write("avant");
    panel.init();
    panel.write("#");
    EXPECT_EQ(throughFence(pty), kSetUp + kFence);

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
    EXPECT_EQ(throughFence(pty),
              kSetUp + "\x01" + chars("Hi") + "\x0C" + chars(codes) + "\x0C\x0C" + kFence);
    EXPECT_TRUE(log.lines.isEmpty());
}

TEST(SerialPanel, ABusyLineKeepsOnlyTheNewestRefresh) {
    PseudoTerminal pty;
    FakeLog log;
    SerialPanel panel(pty.slave, log);
    panel.init();
    panel.write("#");
    ASSERT_EQ(throughFence(pty), kSetUp + kFence);

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
    EXPECT_EQ(throughFence(pty), busy + "\x01" + chars("C") + "\x0C" + kFence);

    // A reset drops a held refresh: it showed the panel as it was before.
    panel.lineStart(0);
    panel.write(QByteArray(400, 'a'));
    panel.lineStart(0);
    panel.write("B");
    panel.init();
    panel.write("#");
    EXPECT_EQ(throughFence(pty), busy + kSetUp + kFence);
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

TEST(SerialPanel, ALostDeviceIsReportedOnceAndComesBackAtTheNextInitOrRefresh) {
    TempDir dir;
    const QString link = dir.file("ttyUSB0");
    PseudoTerminal first;
    ASSERT_TRUE(QFile::link(first.slave, link));
    FakeLog log;
    SerialPanel panel(link, log);
    panel.init();
    panel.write("#");
    ASSERT_EQ(throughFence(first), kSetUp + kFence);

    // The adapter is pulled out: the slave side of a pty whose master is gone fails with EIO.
    first.close();
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
    PseudoTerminal second;
    ASSERT_TRUE(QFile::link(second.slave, link));
    panel.init();
    panel.write("#");
    EXPECT_EQ(throughFence(second), kSetUp + kFence);

    second.close();
    panel.write("y");
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.lines.size() > 1; }, 10000));
    EXPECT_TRUE(log.lines[1].startsWith("Port série " + link + " perdu : "));

    // Plugged in again with no reset to come: a refresh finds it, trying once a second at most.
    ASSERT_TRUE(QFile::remove(link));
    QElapsedTimer sinceTry;
    sinceTry.start();
    panel.init(); // tried at once, still missing
    PseudoTerminal third;
    ASSERT_TRUE(QFile::link(third.slave, link));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            panel.lineStart(0);
            return log.lines.size() > 2;
        },
        5000));
    EXPECT_GE(sinceTry.elapsed(), 1000);
    EXPECT_TRUE(log.lines[2].startsWith("Port série " + link + " retrouvé"));
    panel.write("#");
    EXPECT_EQ(throughFence(third), kSetUp + "\x01" + kFence);
}
