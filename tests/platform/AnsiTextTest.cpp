#include "platform/AnsiText.h"

#include <gtest/gtest.h>

TEST(AnsiText, MapsTheWindows1252CharactersAndEveryByteSurvivesARoundTrip) {
    const QString text = QStringLiteral("€œ°é Ÿ…");
    const QByteArray bytes("\x80\x9C\xB0\xE9\x20\x9F\x85");
    EXPECT_EQ(ansi::fromUnicode(text), bytes);
    EXPECT_EQ(ansi::toUnicode(bytes), text);

    // No-break spaces that locales put between digit groups; one '?' per missing character, even
    // one outside the 16-bit range.
    EXPECT_EQ(ansi::fromUnicode(QStringLiteral("1\u00A0k\u202Fm")), "1\xA0k\xA0m");
    EXPECT_EQ(ansi::fromUnicode(QString::fromUtf8("a\xC4\x81z\xF0\x9F\x98\x80y")), "a?z?y");

    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(static_cast<char>(b));
    }
    ASSERT_EQ(ansi::toUnicode(all).size(), 256);
    EXPECT_EQ(ansi::fromUnicode(ansi::toUnicode(all)), all);
}
