#include "drivers/Hd44780Font.h"

#include "support/QtPrinters.h"

#include <clocale>
#include <cwchar>
#include <gtest/gtest.h>
#include <map>

namespace {
// A glyph as the panel lights it, top row first: '#' for a lit dot.
QString drawn(const std::array<quint8, 8>& glyph) {
    QStringList rows;
    for (const quint8 row : glyph) {
        rows.append(QString());
        for (int dot = 0; dot < 5; ++dot) {
            rows.back() += QLatin1Char((row & (0x10 >> dot)) ? '#' : '.');
        }
    }
    return rows.join(' ');
}
} // namespace

TEST(Hd44780Font, TellingCharactersLookAsOnTheJapanesePanel) {
    EXPECT_EQ(drawn(romGlyph(0x7E)), "..... ..#.. ...#. ##### ...#. ..#.. ..... .....") << "→";
    EXPECT_EQ(drawn(romGlyph(0x5C)), "#...# .#.#. ##### ..#.. ##### ..#.. ..#.. .....") << "¥";
    EXPECT_EQ(drawn(romGlyph(0xDF)), "###.. #.#.. ###.. ..... ..... ..... ..... .....") << "°";
    QString terminal;
    for (const char code : QByteArray("A\x5C\x7E\xA1\xB1\xDE\xDF\xE4\xFF")) {
        terminal += terminalGlyph(static_cast<quint8>(code));
    }
    EXPECT_EQ(terminal, "A¥→｡ｱﾞ°μ█");
}

TEST(Hd44780Font, EveryCodeHasItsOwnGlyphAndOneTerminalColumnBlankWhereThePanelIs) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    std::map<QString, int> first; // the first code of each glyph
    for (int code = 0; code < 256; ++code) {
        const QString g = drawn(romGlyph(code));
        const bool blank = code <= 0x20 || (code >= 0x80 && code <= 0xA0) || code == 0xFE;
        EXPECT_EQ(g == drawn({}), blank) << std::hex << code;
        // A glyph pasted twice shows up as two equal glyphs; the chart has one pair, ｰ and -.
        const auto [at, isNew] = first.emplace(g, code);
        EXPECT_TRUE(blank || isNew || (code == 0xB0 && at->second == '-')) << std::hex << code;
        const std::wstring cell = terminalGlyph(code).toStdWString();
        EXPECT_EQ(wcswidth(cell.c_str(), cell.size()), 1) << std::hex << code;
        EXPECT_TRUE(code < 0x10 || (cell == L" ") == blank) << std::hex << code;
    }
}

TEST(Hd44780Font, TheEuropeanRomHasLatin1AboveItsSymbolsEachInOneTerminalColumn) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    EXPECT_EQ(drawn(romGlyph(0xE9, CharacterSet::A02)),
              "...#. ..#.. .###. #...# ##### #.... .###. .....")
        << "é";
    EXPECT_EQ(drawn(romGlyph('w', CharacterSet::A02)), drawn(romGlyph('w')));
    QString terminal;
    for (const char code : QByteArray("\x10\x5C\x7E\x7F\x80\x9F\xA0\xB0\xE9\xFF")) {
        terminal += terminalGlyph(static_cast<quint8>(code), CharacterSet::A02);
    }
    EXPECT_EQ(terminal, "▶¥~⌂Б∩‖°éÿ");
    for (int code = 0x10; code < 0x100; ++code) {
        const std::wstring cell = terminalGlyph(code, CharacterSet::A02).toStdWString();
        EXPECT_EQ(wcswidth(cell.c_str(), cell.size()), 1) << std::hex << code;
        EXPECT_EQ(drawn(romGlyph(code, CharacterSet::A02)) == drawn({}), code == ' ')
            << std::hex << code;
    }
}
