#include "drivers/Serie.h"

#include "support/FakeLog.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kSetUp("\x14\x18", 2);
const QByteArray kFence = "\x1E\x01#"; // written last by each step

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

// One refresh as the panel gets it: each line's start, then its text.
void refresh(SerialPanel& panel, const QByteArrayList& lines) {
    Frame frame;
    frame.lines = int(lines.size());
    for (int i = 0; i < frame.lines; ++i) {
        frame.rows[i] = lines[i];
    }
    panel.show(frame);
}

// Characters at the cursor, without a line start.
void fence(SerialPanel& panel) {
    panel.show(Frame::banner("#"));
}

} // namespace

TEST(SerialPanel, SendsEveryCodeBehindItsPrefixAndOnABusyLineOnlyTheNewestRefresh) {
    PseudoTerminal pty;
    TempDir dir;
    const QString link = dir.file("ttyPanneau");
    ASSERT_TRUE(QFile::link(pty.slave, link));
    FakeLog log;
    SerialPanel panel(link, log);
    refresh(panel, {"avant"}); // the port is not open before the first reset: dropped
    termios line{}; // found cooked, with two stop bits and flow control (a pty takes no parity)
    ASSERT_EQ(::tcgetattr(pty.master.get(), &line), 0);
    line.c_oflag |= OPOST | ONLCR;
    line.c_cflag |= CSTOPB | CRTSCTS;
    ASSERT_EQ(::tcsetattr(pty.master.get(), TCSANOW, &line), 0);
    panel.reset();
    ASSERT_EQ(::tcgetattr(pty.master.get(), &line), 0);
    EXPECT_EQ(::cfgetospeed(&line), speed_t(B9600));
    EXPECT_EQ(line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS | CLOCAL), tcflag_t(CS8 | CLOCAL));
    EXPECT_EQ(line.c_oflag & OPOST, 0u);
    SerialPanel other(link, log); // another program is kept off the line
    other.reset();
    ASSERT_EQ(log.lines.size(), 1);
    EXPECT_TRUE(log.lines[0].startsWith("Port série " + link +
                                        " inaccessible : accès refusé ou port déjà utilisé ("));
    ASSERT_TRUE(QFile::remove(link)); // the port opened by the first reset serves every later one
    const QByteArray codes("\x01\x0C\x14\x18\x1E\x00\xFF\x07", 8);
    panel.reset();
    refresh(panel, {"Hi", codes, "", "#"});
    EXPECT_EQ(throughFence(pty),
              kSetUp + kSetUp + "\x01" + chars("Hi") + "\x0C" + chars(codes) + "\x0C\x0C" + kFence);

    // Bytes leave only from the event loop, so without it the first refresh keeps the line busy.
    const QByteArray busy = "\x01" + chars(QByteArray(400, 'a'));
    refresh(panel, {QByteArray(400, 'a')});
    refresh(panel, {"B"});
    refresh(panel, {"C", "#"});
    EXPECT_EQ(throughFence(pty), busy + "\x01" + chars("C") + "\x0C" + kFence);
    // A reset drops a held refresh: it showed the panel as it was before.
    refresh(panel, {QByteArray(400, 'a')});
    refresh(panel, {"B"});
    panel.reset();
    fence(panel);
    EXPECT_EQ(throughFence(pty), busy + kSetUp + kFence);
}

TEST(SerialPanel, AMissingDeviceIsToldOnceAndARefreshFindsItTryingOnceASecond) {
    TempDir dir;
    const QString link = dir.file("ttyUSB0");
    FakeLog log;
    SerialPanel unnamed(QString(), log);
    SerialPanel panel(link, log);
    QElapsedTimer sinceTry;
    sinceTry.start();
    for (int i = 0; i < 3; ++i) { // each reset tries at once
        unnamed.reset();
        panel.reset();
        refresh(panel, {"x"});
    }
    // Plugged in, with no reset to come: refreshes find it, and nothing written meanwhile.
    PseudoTerminal pty;
    ASSERT_TRUE(QFile::link(pty.slave, link));
    Frame lineStartOnly;
    lineStartOnly.lines = 1;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return panel.show(lineStartOnly), log.lines.size() > 2; }, 5000));
    EXPECT_GE(sinceTry.elapsed(), 1000);
    fence(panel);
    EXPECT_EQ(throughFence(pty), kSetUp + "\x01" + kFence);
    ASSERT_EQ(log.lines.size(), 3);
    EXPECT_EQ(log.lines[0], "Port série : aucun périphérique (COM ou [ports] de param.ini)");
    EXPECT_TRUE(log.lines[1].startsWith("Port série " + link + " inaccessible : "));
    EXPECT_EQ(log.lines[2], "Port série " + link + " retrouvé");
}
