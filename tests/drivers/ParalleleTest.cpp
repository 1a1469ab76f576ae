#include "drivers/Parallele.h"

#include "drivers/EmulatedHd44780Port.h"
#include "drivers/ParallelPanel.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <algorithm>
#include <gtest/gtest.h>

void PrintTo(const PortAccess& a, std::ostream* os) {
    *os << (a.kind == PortAccess::Write ? "write " : "read ") << std::hex << a.port << '='
        << int(a.value);
}

void PrintTo(const PanelTransfer& t, std::ostream* os) {
    *os << (t.data ? "data " : "instruction ") << std::hex << int(t.value);
}

namespace {
using Trace = QList<PortAccess>;

PortAccess control(quint8 value) {
    return {PortAccess::Write, 0x37A, value};
}

PortAccess data(quint8 value) {
    return {PortAccess::Write, 0x378, value};
}

// One byte on the data register, then a pulse on E from a control register holding
// `controlBefore`: E rises, then falls.
Trace send(quint8 byte, quint8 controlBefore) {
    const quint8 high = controlBefore & 0xFE;
    return {data(byte),
            {PortAccess::Read, 0x37A, controlBefore},
            control(high),
            {PortAccess::Read, 0x37A, high},
            control(high | 0x01)};
}

QList<PanelTransfer> instructions(const QByteArray& codes) {
    QList<PanelTransfer> list;
    for (const char code : codes) {
        list.append({false, static_cast<quint8>(code)});
    }
    return list;
}

class ParalleleTest : public testing::Test {
protected:
    ParalleleTest() {
        port.setRecording(true);
        par.io = &port;
        par.wait = [this] { ++waits; };
    }

    void initAndForget() {
        ParInit(par);
        port.takeAccesses();
        port.takeTransfers();
        waits = 0;
    }

    EmulatedHd44780Port port{20, 4};
    Parallele par;
    int waits = 0;
};
} // namespace

TEST_F(ParalleleTest, InitBringsAnyPanelBackToABlankDisplay) {
    // Text on screen, shifted, and a 4-bit bus left half-way through a byte.
    Hd44780& lcd = port.model();
    lcd.writeData('x');
    lcd.writeInstruction(0x18);
    lcd.writeInstruction(0x28);
    lcd.writeInstruction(0x80);

    ParInit(par);
    EXPECT_EQ(port.takeTransfers(), instructions("\x30\x30\x30\x38\x0F\x01\x06\x0C"));
    // The control register is set twice, then only the strobes touch it until the display is
    // turned on: two writes per byte and one more before 0x0C.
    const Trace accesses = port.takeAccesses();
    EXPECT_EQ(accesses.mid(0, 12),
              (Trace{control(0xDF), control(0x08)} + send(0x30, 0x08) + send(0x30, 0x09)));
    EXPECT_EQ(std::count_if(accesses.begin(), accesses.end(),
                            [](const PortAccess& a) {
                                return a.kind == PortAccess::Write && a.port == 0x37A;
                            }),
              2 + 8 * 2 + 1);
    EXPECT_EQ(waits, 8 * 3);

    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(lcd.line(line), QByteArray(20, ' ')) << "line " << line;
    }
    EXPECT_TRUE(lcd.displayOn());
    EXPECT_FALSE(lcd.cursorOn() || lcd.blinkOn());
    EXPECT_EQ(lcd.cursorCell(), (Hd44780::Cell{0, 0}));
}

TEST_F(ParalleleTest, GotoThenWritePutsTheTextWhereAsked) {
    initAndForget();
    ParGoto(par, 3, 2);
    ParWrite(par, "Hi");

    EXPECT_EQ(port.takeAccesses(), Trace{control(0x08)} + send(0xC2, 0x08) + Trace{control(0xF7)} +
                                       send(0x48, 0xF7) + send(0x69, 0xF7));
    EXPECT_EQ(waits, 3 * 3);
    EXPECT_EQ(port.model().line(1), QByteArray("  Hi").leftJustified(20, ' '));
    EXPECT_EQ(port.model().cursorCell(), (Hd44780::Cell{1, 4}));
}

TEST_F(ParalleleTest, GotoSendsTheLineStartPlusTheColumnUnchecked) {
    initAndForget();
    const struct {
        qint16 column, line;
        char code;
    } cases[] = {{1, 1, '\x80'},  {1, 2, '\xC0'},  {1, 3, '\x94'}, {1, 4, '\xD4'},
                 {20, 4, '\xE7'}, {21, 1, '\x94'}, {3, 5, '\x02'}};
    for (const auto& c : cases) {
        ParGoto(par, c.column, c.line);
        EXPECT_EQ(port.takeTransfers(), instructions(QByteArray(1, c.code)))
            << "column " << c.column << ", line " << c.line;
    }
}

TEST_F(ParalleleTest, WriteSendsEveryByteAsDataAndWithoutAPortNothingHappens) {
    initAndForget();
    ParWrite(par, QByteArray("\0\xDF", 2));
    EXPECT_EQ(port.takeTransfers(), (QList<PanelTransfer>{{true, 0x00}, {true, 0xDF}}));
    port.takeAccesses();
    ParWrite(par, QByteArray());
    EXPECT_EQ(port.takeAccesses(), Trace{control(0xF7)});

    Parallele none;
    none.wait = [this] { ++waits; };
    waits = 0;
    ParInit(none);
    ParGoto(none, 1, 1);
    ParWrite(none, "abc");
    EXPECT_EQ(waits, 0);
}

TEST(ParallelPort, FailsWithTheDeviceAndTheReasonAndLeaksNothing) {
    const auto openFiles = [] { return QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot); };
    const qsizetype before = openFiles().size();
    QString error;
    EXPECT_EQ(openParallelPort("/nonexistent/parport0", &error), nullptr);
    EXPECT_EQ(error, "Port parallèle /nonexistent/parport0 inaccessible : "
                     "No such file or directory");
    // A device that opens but is no parallel port.
    EXPECT_EQ(openParallelPort("/dev/null", &error), nullptr);
    EXPECT_EQ(error, "Port parallèle /dev/null inaccessible : Inappropriate ioctl for device");
    EXPECT_EQ(openFiles().size(), before);
}

TEST(ParallelPanel, AFailedPortIsReportedOnceThenIgnored) {
    FakeLog log;
    ParallelPanel panel("/nonexistent/parport0", log);
    testing::internal::CaptureStderr();
    panel.init();
    panel.lineStart(0);
    panel.write("abc");
    panel.init();
    const QString printed = QString::fromStdString(testing::internal::GetCapturedStderr());

    const QString message =
        "Port parallèle /nonexistent/parport0 inaccessible : No such file or directory";
    EXPECT_EQ(log.lines, QStringList{message});
    EXPECT_EQ(printed, "relayeur: " + message + '\n');
}

TEST(ParallelPanel, DrivesAGivenPortOnlyFromInitOn) {
    auto owned = std::make_unique<EmulatedHd44780Port>(20, 4);
    EmulatedHd44780Port& port = *owned;
    port.setRecording(true);
    ParallelPanel panel(std::move(owned), [] {});
    EXPECT_EQ(port.takeAccesses(), Trace{});

    panel.init();
    EXPECT_EQ(port.takeAccesses().value(0), control(0xDF));
    for (int line = 0; line < 4; ++line) {
        panel.lineStart(line);
        panel.write(QByteArray::number(line + 1));
    }
    for (int line = 0; line < 4; ++line) {
        EXPECT_EQ(port.model().codeAt(line, 0), '1' + line) << line;
    }
}
