#include "platform/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, MapsTheWindows1252CharactersAndEveryByteSurvivesARoundTrip) {
    const QString text = QStringLiteral("€œ°é Ÿ…");
    const QByteArray bytes("\x80\x9C\xB0\xE9\x20\x9F\x85");
    EXPECT_EQ(ansi::fromUnicode(text), bytes);
    EXPECT_EQ(ansi::toUnicode(bytes), text);

    // No-break spaces that locales put between digit groups.
    EXPECT_EQ(ansi::fromUnicode(QStringLiteral("1\u00A0234\u202F5")), "1\xA0"
                                                                      "234\xA0"
                                                                      "5");
    // One '?' per missing character, even one outside the 16-bit range.
    EXPECT_EQ(ansi::fromUnicode(QStringLiteral("a\u0101b\u4E2Dc")), "a?b?c");
    EXPECT_EQ(ansi::fromUnicode(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y");

    // Every byte survives a round trip.
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    const QString unicode = ansi::toUnicode(all);
    ASSERT_EQ(unicode.size(), 256);
    EXPECT_EQ(unicode[0], QChar(0));
    EXPECT_EQ(ansi::fromUnicode(unicode), all);
}
