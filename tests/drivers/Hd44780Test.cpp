#include "drivers/Hd44780.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
// Instructions, then characters, as the controller latches them.
void send(Hd44780& lcd, std::initializer_list<quint8> instructions, const QByteArray& text = {}) {
    for (const quint8 code : instructions) {
        lcd.writeInstruction(code);
    }
    for (const char c : text) {
        lcd.writeData(static_cast<quint8>(c));
    }
}
} // namespace

TEST(Hd44780, TheAddressCounterSkipsTheGapBetweenTheTwoLines) {
    Hd44780 lcd(20, 4);
    send(lcd, {0x38, 0x0C, 0x80}, QByteArray(20, 'a') + QByteArray(20, 'c') + "b");
    EXPECT_EQ(lcd.line(2), QByteArray(20, 'c')) << "line 3 goes on from line 1";
    EXPECT_EQ(lcd.line(1), QByteArray("b").leftJustified(20));
    send(lcd, {0xE7}, "yz");
    EXPECT_EQ(lcd.line(3).back(), 'y');
    EXPECT_EQ(lcd.codeAt(0, 0), 'z');

    send(lcd, {0x04, 0xC0}, "dec"); // decrement
    EXPECT_EQ(lcd.codeAt(1, 0), 'd');
    EXPECT_EQ(lcd.line(2).right(2), "ce");
    send(lcd, {0x01}, "xy"); // clear: blank, home, and increment again
    EXPECT_EQ(lcd.line(0) + lcd.line(1), "xy" + QByteArray(38, ' '));
}

TEST(Hd44780, ShiftsMoveTheViewNotTheText) {
    Hd44780 lcd(16, 2);
    send(lcd, {0x38, 0x0C, 0x80}, "0123456789abcdef");
    send(lcd, {0x07, 0x90}, "gh"); // increment, shift on each write
    EXPECT_EQ(lcd.line(0), "23456789abcdefgh");
    EXPECT_EQ(lcd.cursorCell(), std::nullopt); // at 0x12, just right of the view
    send(lcd, {0x1C, 0x10, 0x10});             // display right, cursor left twice
    EXPECT_EQ(lcd.line(0), "123456789abcdefg");
    EXPECT_EQ(lcd.cursorCell(), (Hd44780::Cell{0, 15}));
    send(lcd, {0x02}); // return home
    EXPECT_EQ(lcd.line(0), "0123456789abcdef");
}

TEST(Hd44780, CodesZeroToFifteenShowTheGlyphsWrittenIntoCgram) {
    Hd44780 lcd(20, 2);
    send(lcd, {0x38, 0x0C, 0x48}, QByteArray("\xff\x11\x0a\x04\x0a\x11\x1f\x00", 8)); // slot 1
    EXPECT_EQ(lcd.glyph(1), (std::array<quint8, 8>{0x1F, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x1F, 0}));
    EXPECT_EQ(lcd.cursorCell(), std::nullopt);
}
