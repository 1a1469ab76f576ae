#include "drivers/Hd44780Font.h"

#include "support/QtPrinters.h"

#include <clocale>
#include <cwchar>
#include <gtest/gtest.h>
#include <map>

namespace {
// A glyph as the panel lights it, top row first: '#' for a lit dot.
QString drawn(const std::array<quint8, 8>& glyph) {
    QString rows;
    for (const quint8 row : glyph) {
        for (int dot = 0; dot < 5; ++dot) {
            rows += QLatin1Char((row & (0x10 >> dot)) ? '#' : '.');
        }
        rows += QLatin1Char(row & ~0x1F ? '?' : ' '); // nothing beyond the five dots
    }
    return rows.trimmed();
}
} // namespace

TEST(Hd44780Font, TellingCharactersLookAsOnTheJapanesePanel) {
    EXPECT_EQ(drawn(romGlyph(0x7E)), "..... ..#.. ...#. ##### ...#. ..#.. ..... .....") << "→";
    EXPECT_EQ(drawn(romGlyph(0x5C)), "#...# .#.#. ##### ..#.. ##### ..#.. ..#.. .....") << "¥";
    EXPECT_EQ(drawn(romGlyph(0xDF)), "###.. #.#.. ###.. ..... ..... ..... ..... .....") << "°";
    EXPECT_EQ(drawn(romGlyph(0xFF)), "##### ##### ##### ##### ##### ##### ##### #####");
}

TEST(Hd44780Font, EveryCodeIsDrawnWithinItsCellAndNoGlyphTwice) {
    std::map<QString, int> first; // the first code of each glyph
    for (int code = 0; code < 256; ++code) {
        const QString g = drawn(romGlyph(code));
        const bool blank = code <= 0x20 || (code >= 0x80 && code <= 0xA0) || code == 0xFE;
        EXPECT_EQ(g == drawn({}), blank) << std::hex << code;
        EXPECT_FALSE(g.contains('?')) << std::hex << code;
        EXPECT_TRUE(code >= 0xE0 || g.endsWith(".....")) << "cursor row of " << std::hex << code;
        // A glyph pasted twice shows up as two equal glyphs; the chart has one pair, ｰ and -.
        const auto [at, isNew] = first.emplace(g, code);
        EXPECT_TRUE(blank || isNew || (code == 0xB0 && at->second == '-')) << std::hex << code;
    }
}

TEST(Hd44780Font, TerminalCellsAreOneColumnWideAndBlankWhereThePanelIs) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    for (int code = 0; code < 256; ++code) {
        const std::wstring cell = terminalGlyph(code).toStdWString();
        EXPECT_EQ(wcswidth(cell.c_str(), cell.size()), 1) << std::hex << code;
        EXPECT_TRUE(code < 0x10 || (cell == L" ") == (drawn(romGlyph(code)) == drawn({})))
            << std::hex << code;
    }
    QString shown;
    for (const char code : QByteArray("A\x5C\x7E\xA1\xB1\xDE\xDF\xE4\xFF")) {
        shown += terminalGlyph(static_cast<quint8>(code));
    }
    EXPECT_EQ(shown, "A¥→｡ｱﾞ°μ█");
}

TEST(Hd44780Font, TerminalBlocksFollowTheBigDigitShapes) {
    // Which quarters of each slot are mostly lit (the middle dot column left out), as the block
    // elements draw them: top-left, top-right, bottom-left, bottom-right.
    const std::map<int, QString> quarters = {{0b1100, "▀"}, {0b0011, "▄"}, {0b1110, "▛"},
                                             {0b1101, "▜"}, {0b1011, "▙"}, {0b0111, "▟"},
                                             {0b0000, " "}};
    for (int slot = 0; slot < 8; ++slot) {
        const QString g = drawn(bigDigitCgram()[slot]).remove(' ');
        int mask = 0;
        for (int q = 0; q < 4; ++q) {
            int lit = 0;
            for (int row = q / 2 * 4; row < q / 2 * 4 + 4; ++row) {
                lit += g.mid(row * 5 + q % 2 * 3, 2).count('#');
            }
            mask = mask << 1 | (lit >= 4);
        }
        ASSERT_TRUE(quarters.count(mask)) << slot;
        EXPECT_EQ(terminalGlyph(slot), quarters.at(mask)) << slot;
        EXPECT_EQ(terminalGlyph(slot + 8), terminalGlyph(slot)) << "codes 8-15 repeat 0-7";
    }
}
