#include "drivers/Hd44780.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
// 8-bit bus, 2 lines, display on without cursor: where the program leaves the panel.
Hd44780 twoLinePanel(int columns, int lines) {
    Hd44780 lcd(columns, lines);
    lcd.writeInstruction(0x38);
    lcd.writeInstruction(0x0C);
    return lcd;
}

void writeAt(Hd44780& lcd, quint8 address, const QByteArray& text) {
    lcd.writeInstruction(0x80 | address);
    for (const char c : text) {
        lcd.writeData(static_cast<quint8>(c));
    }
}

QByteArray padded(const QByteArray& text, int width) {
    return text.leftJustified(width, ' ');
}
} // namespace

TEST(Hd44780, TheAddressCounterSkipsTheGapBetweenTheTwoLines) {
    Hd44780 lcd = twoLinePanel(20, 4);
    writeAt(lcd, 0x00, QByteArray(20, 'a') + QByteArray(20, 'c') + "b");
    EXPECT_EQ(lcd.line(2), QByteArray(20, 'c'));
    EXPECT_EQ(lcd.line(1), padded("b", 20));
    writeAt(lcd, 0x67, "yz");
    EXPECT_EQ(lcd.codeAt(3, 19), 'y');
    EXPECT_EQ(lcd.codeAt(0, 0), 'z');

    lcd.writeInstruction(0x04); // decrement
    writeAt(lcd, 0x45, "abc");
    EXPECT_EQ(lcd.line(1), padded("b  cba", 20));
    writeAt(lcd, 0x40, "de");
    EXPECT_EQ(lcd.codeAt(1, 0), 'd');
    EXPECT_EQ(lcd.codeAt(2, 19), 'e');
    EXPECT_EQ(lcd.address(), 0x26);

    lcd.writeInstruction(0x01); // clear: blank, home, and increment again
    EXPECT_EQ(lcd.line(1), QByteArray(20, ' '));
    EXPECT_EQ(lcd.address(), 0x00);
    lcd.writeData('x');
    lcd.writeData('y');
    EXPECT_EQ(lcd.line(0), padded("xy", 20));
}

TEST(Hd44780, ShiftsMoveTheViewNotTheText) {
    Hd44780 lcd = twoLinePanel(16, 2);
    writeAt(lcd, 0x00, "0123456789abcdef");
    lcd.writeInstruction(0x07); // increment, shift on each write
    writeAt(lcd, 0x10, "gh");
    EXPECT_EQ(lcd.line(0), "23456789abcdefgh");
    EXPECT_EQ(lcd.cursorCell(), std::nullopt); // at 0x12, just right of the view

    lcd.writeInstruction(0x1C); // display right
    EXPECT_EQ(lcd.line(0), "123456789abcdefg");
    lcd.writeInstruction(0x10); // cursor left, twice
    lcd.writeInstruction(0x10);
    EXPECT_EQ(lcd.cursorCell(), (Hd44780::Cell{0, 15}));

    lcd.writeInstruction(0x02); // return home
    EXPECT_EQ(lcd.line(0), "0123456789abcdef");
    EXPECT_EQ(lcd.address(), 0x00);
}

TEST(Hd44780, CgramWritesDefineTheGlyphsOfCodes0To15) {
    Hd44780 lcd = twoLinePanel(20, 2);
    lcd.writeInstruction(0x48); // slot 1, row 0
    for (const char row : QByteArray("\xff\x11\x0a\x04\x0a\x11\x1f\x00", 8)) {
        lcd.writeData(static_cast<quint8>(row));
    }
    EXPECT_EQ(lcd.glyph(1), (std::array<quint8, 8>{0x1F, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x1F, 0}));
    EXPECT_EQ(lcd.cursorCell(), std::nullopt);
    EXPECT_EQ(lcd.line(0), QByteArray(20, ' '));

    writeAt(lcd, 0x00, QByteArray("\x01\x09", 2));
    EXPECT_EQ(Hd44780::glyphSlot(lcd.codeAt(0, 0)), 1);
    EXPECT_EQ(Hd44780::glyphSlot(lcd.codeAt(0, 1)), 1);
    EXPECT_EQ(Hd44780::glyphSlot('A'), std::nullopt);

    // A loaded glyph leaves the address counter where it was.
    lcd.loadGlyph(7, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(lcd.glyph(7)[7], 8);
    EXPECT_EQ(lcd.cursorCell(), (Hd44780::Cell{0, 2}));
}

TEST(Hd44780, StartsBlankAndTellsItsListenerOfEveryCompleteByte) {
    Hd44780 lcd(16, 2);
    EXPECT_EQ(lcd.line(0), QByteArray(16, ' '));
    EXPECT_EQ(lcd.line(1), QByteArray(16, ' '));
    EXPECT_FALSE(lcd.displayOn() || lcd.cursorOn() || lcd.blinkOn());
    int changes = 0;
    lcd.setChangeListener([&changes] { ++changes; });
    lcd.writeData('a');
    lcd.loadGlyph(0, {});
    lcd.writeInstruction(0x28); // 4-bit bus from now on
    EXPECT_EQ(changes, 3);

    lcd.writeData(0x40); // half a byte shows nothing yet
    EXPECT_EQ(changes, 3);
    lcd.writeData(0x10);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(lcd.codeAt(0, 1), 'A');
}
