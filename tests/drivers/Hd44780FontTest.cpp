#include "drivers/Hd44780Font.h"

#include "render/BigTime.h"
#include "support/QtPrinters.h"

#include <algorithm>
#include <clocale>
#include <cwchar>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace {

using Glyph = std::array<quint8, 8>;

bool blank(const Glyph& g) {
    return g == Glyph{};
}

bool mirrored(const Glyph& g) {
    for (quint8 row : g) {
        quint8 flipped = 0;
        for (int dot = 0; dot < 5; ++dot) {
            flipped = static_cast<quint8>(flipped | ((row >> dot & 1) << (4 - dot)));
        }
        if (flipped != row) {
            return false;
        }
    }
    return true;
}

using Bitmap = std::array<std::array<bool, 15>, 32>; // [y][x]

// A digit as the clock lays it out and the panel shows it, the gaps between characters left out.
Bitmap bigDigit(int digit) {
    std::array<LineRecord, kLinesPerPage> lines{};
    BigDigit(lines, static_cast<qint16>(digit));
    Bitmap b{};
    for (int line = 0; line < 4; ++line) {
        for (int cell = 0; cell < 3; ++cell) {
            const auto code = static_cast<quint8>(lines[line].Text[cell]);
            const Glyph& g = code < 8 ? bigDigitCgram()[code] : romGlyph(code);
            for (int row = 0; row < 8; ++row) {
                for (int dot = 0; dot < 5; ++dot) {
                    b[line * 8 + row][cell * 5 + dot] = g[row] >> (4 - dot) & 1;
                }
            }
        }
    }
    return b;
}

// Number of groups of lit dots, dots touching by a side or a corner.
int strokeCount(Bitmap b) {
    int groups = 0;
    for (int y0 = 0; y0 < 32; ++y0) {
        for (int x0 = 0; x0 < 15; ++x0) {
            if (!b[y0][x0]) {
                continue;
            }
            ++groups;
            std::vector<std::pair<int, int>> todo{{y0, x0}};
            b[y0][x0] = false;
            while (!todo.empty()) {
                const auto [y, x] = todo.back();
                todo.pop_back();
                for (int ny = y - 1; ny <= y + 1; ++ny) {
                    for (int nx = x - 1; nx <= x + 1; ++nx) {
                        if (ny >= 0 && ny < 32 && nx >= 0 && nx < 15 && b[ny][nx]) {
                            b[ny][nx] = false;
                            todo.push_back({ny, nx});
                        }
                    }
                }
            }
        }
    }
    return groups;
}

} // namespace

TEST(Hd44780Font, DrawsTheJapaneseRomWithTheLeftmostDotInBit4) {
    EXPECT_EQ(romGlyph('A'), (Glyph{0x0E, 0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x00}));
    EXPECT_EQ(romGlyph('L')[0], 0x10);
    EXPECT_EQ(romGlyph('J')[0], 0x07);
    // The right arrow's tip is on the right, the left arrow's on the left.
    EXPECT_EQ(romGlyph(0x7E)[2], 0x02);
    EXPECT_EQ(romGlyph(0x7F)[2], 0x08);
    // The yen sign is symmetric with two bars; a backslash would be neither.
    const Glyph& yen = romGlyph(0x5C);
    EXPECT_TRUE(mirrored(yen));
    EXPECT_EQ(std::count(yen.begin(), yen.end(), 0x1F), 2);
    // 0xDF, written for "°": a small ring in the top rows and nothing below.
    EXPECT_EQ(romGlyph(0xDF), (Glyph{0x1C, 0x14, 0x1C, 0, 0, 0, 0, 0}));
    EXPECT_EQ(romGlyph(0xFF), (Glyph{0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}));
}

TEST(Hd44780Font, KeepsTheTableWithinTheChart) {
    for (int code = 0; code < 256; ++code) {
        const Glyph& g = romGlyph(code);
        for (quint8 row : g) {
            EXPECT_EQ(row & ~0x1F, 0) << std::hex << code;
        }
        const bool unused = code < 0x20 || (code >= 0x80 && code <= 0xA0) || code == 0xFE;
        EXPECT_EQ(blank(g), unused || code == ' ') << std::hex << code;
        if (code < 0xE0) {
            EXPECT_EQ(g[7], 0) << "cursor row of " << std::hex << code;
        }
    }
    // A glyph pasted twice shows up as two equal glyphs in one half of the chart.
    for (auto [first, last] : {std::pair{0x21, 0x7F}, std::pair{0xA1, 0xFD}}) {
        std::set<Glyph> seen;
        for (int code = first; code <= last; ++code) {
            EXPECT_TRUE(seen.insert(romGlyph(code)).second) << std::hex << code;
        }
    }
}

TEST(Hd44780Font, BigDigitsAreTenJoinedShapes) {
    const auto& cgram = bigDigitCgram();
    EXPECT_TRUE(blank(cgram[6]));
    EXPECT_TRUE(blank(cgram[7]));
    // Slot 1 alone is a colon dot: it sits low in its cell.
    EXPECT_EQ(cgram[1][0], 0);
    EXPECT_EQ(cgram[1][7], 0x1F);

    std::set<Bitmap> shapes;
    for (int digit = 0; digit < 10; ++digit) {
        const Bitmap b = bigDigit(digit);
        EXPECT_TRUE(shapes.insert(b).second) << digit;
        EXPECT_EQ(strokeCount(b), 1) << digit;
    }

    // 8 is closed in the middle where 0 is open.
    const Bitmap zero = bigDigit(0), eight = bigDigit(8);
    EXPECT_FALSE(zero[15][7]);
    EXPECT_TRUE(eight[15][7]);
    // 1 is one stroke on the right with a flag: nothing in its left column.
    const Bitmap one = bigDigit(1);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_FALSE(one[y][x]) << y << ',' << x;
        }
    }
}

TEST(Hd44780Font, TerminalCellsAreOneColumnWide) {
    ASSERT_NE(std::setlocale(LC_ALL, "C.UTF-8"), nullptr);
    for (int code = 0; code < 256; ++code) {
        const std::wstring cell = terminalGlyph(code).toStdWString();
        EXPECT_EQ(wcswidth(cell.c_str(), cell.size()), 1) << std::hex << code;
        // Blank on the panel, blank in the terminal.
        if (code >= 0x10) {
            EXPECT_EQ(cell == L" ", blank(romGlyph(code))) << std::hex << code;
        }
    }
    EXPECT_EQ(QString("A¥→｡ｱﾞ°μ█"),
              QString(terminalGlyph('A') + terminalGlyph(0x5C) + terminalGlyph(0x7E) +
                      terminalGlyph(0xA1) + terminalGlyph(0xB1) + terminalGlyph(0xDE) +
                      terminalGlyph(0xDF) + terminalGlyph(0xE4) + terminalGlyph(0xFF)));
}

TEST(Hd44780Font, TerminalBlocksFollowTheBigDigitShapes) {
    // Which quarters of each slot are mostly lit (the middle dot column left out), as the block
    // elements draw them: top-left, top-right, bottom-left, bottom-right.
    const std::map<int, QString> quarters = {{0b1100, "▀"}, {0b0011, "▄"}, {0b1110, "▛"},
                                             {0b1101, "▜"}, {0b1011, "▙"}, {0b0111, "▟"},
                                             {0b0000, " "}};
    for (int slot = 0; slot < 8; ++slot) {
        int mask = 0;
        for (int q = 0; q < 4; ++q) {
            int lit = 0;
            for (int row = q / 2 * 4; row < q / 2 * 4 + 4; ++row) {
                for (int dot : q % 2 ? std::array{3, 4} : std::array{0, 1}) {
                    lit += bigDigitCgram()[slot][row] >> (4 - dot) & 1;
                }
            }
            mask = mask << 1 | (lit >= 4);
        }
        ASSERT_TRUE(quarters.count(mask)) << slot;
        EXPECT_EQ(terminalGlyph(slot), quarters.at(mask)) << slot;
        EXPECT_EQ(terminalGlyph(slot + 8), terminalGlyph(slot)) << slot;
    }
}
