#include "drivers/Parallele.h"

#include "drivers/ParallelPanel.h"
#include "support/EmulatedHd44780Port.h"
#include "support/FakeLog.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

TEST(ParallelPanel, InitBringsAnyPanelBackToABlankDisplay) {
    auto owned = std::make_unique<EmulatedHd44780Port>(20, 4);
    EmulatedHd44780Port& port = *owned;
    Hd44780& lcd = port.model();
    int waits = 0;
    ParallelPanel panel(std::move(owned), [&waits] { ++waits; });
    // Text on screen, shifted, and a 4-bit bus left half-way through a byte.
    lcd.writeData('x');
    lcd.writeInstruction(0x18);
    lcd.writeInstruction(0x28);
    lcd.writeInstruction(0x80);

    port.setRecording(true);
    panel.reset();
    // Three times 8-bit first, whatever the bus was; then 2 lines, clear, increment, display on.
    const QList<PanelTransfer> setUp = {{false, 0x30}, {false, 0x30}, {false, 0x30}, {false, 0x38},
                                        {false, 0x0F}, {false, 0x01}, {false, 0x06}, {false, 0x0C}};
    EXPECT_EQ(port.takeTransfers(), setUp);
    EXPECT_EQ(waits, 8 * 3) << "three pauses per byte";
    EXPECT_EQ(lcd.line(0) + lcd.line(1) + lcd.line(2) + lcd.line(3), QByteArray(80, ' '));
    EXPECT_EQ(lcd.cursorCell(), (Hd44780::Cell{0, 0}));

    Frame frame; // the third line alone written
    frame.lines = 3;
    frame.rows[2] = "3\xDF";
    panel.show(frame);
    EXPECT_EQ(lcd.line(2).left(3), "3\xDF ");
    EXPECT_EQ(lcd.line(0), QByteArray(20, ' '));
}

TEST(Parallele, GotoPutsTheTextAtTheColumnAndLineOfA20x4Panel) {
    EmulatedHd44780Port port(20, 4);
    int waits = 0;
    Parallele par{&port, [&waits] { ++waits; }, {}};
    const struct {
        qint16 column, line;
        Hd44780::Cell shown;
    } cases[] = {{1, 1, {0, 0}}, {3, 2, {1, 2}},   {1, 3, {2, 0}},
                 {1, 4, {3, 0}}, {20, 4, {3, 19}}, {21, 1, {2, 0}}, // the column is not checked
                 {3, 5, {0, 0}}}; // no such line: the column alone, 2, is "return home"
    ParInit(par);
    for (const auto& c : cases) {
        waits = 0;
        ParGoto(par, c.column, c.line);
        ParWrite(par, QByteArray("\0", 1)); // a byte like any other
        EXPECT_EQ(port.model().codeAt(c.shown.line, c.shown.column), 0) << c.column << c.line;
        EXPECT_EQ(waits, 2 * 3);
    }
    par.io = nullptr; // no port: nothing happens
    ParInit(par);
    EXPECT_EQ(port.model().codeAt(0, 0), 0x00) << "not cleared";
}

TEST(ParallelPanel, APortThatCannotBeOpenedIsReportedWithItsReason) {
    FakeLog log;
    ParallelPanel panel("/dev/null", log); // opens, but answers no parallel port's ioctl
    panel.reset();
    Frame frame;
    frame.lines = 1;
    frame.rows[0] = "abc";
    panel.show(frame);
    EXPECT_EQ(
        log.lines,
        QStringList{"Port parallèle /dev/null inaccessible : Inappropriate ioctl for device"});
}
