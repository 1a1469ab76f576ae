#include "render/BigTime.h"

#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
QByteArray codes(std::initializer_list<int> list) {
    QByteArray out;
    for (int c : list) {
        out.append(static_cast<char>(c));
    }
    return out;
}
} // namespace

TEST(BigTime, TwelveThirtyFourFiftySix) {
    std::array<LineRecord, 4> lines{};
    lines[2].ScrollPos = 3;
    BigTime(lines, QTime(12, 34, 56));
    for (const LineRecord& line : lines) {
        EXPECT_EQ(line.Text.size(), 20);
    }
    EXPECT_EQ(lines[0].Text,
              codes({32, 2, 255, 32, 2, 0, 3, 32, 32, 32, 2, 0, 3, 32, 2, 0, 0, 32, 32, 32}));
    EXPECT_EQ(lines[1].Text, codes({32, 32, 255, 32, 32,  1,  5, 32, 1,  32,
                                    32, 32, 255, 32, 255, 32, 1, 32, 32, 32}));
    EXPECT_EQ(lines[2].Text,
              codes({32, 32, 255, 32, 2, 0, 32, 32, 1, 32, 32, 0, 255, 32, 4, 1, 255, 32, 32, 32}));
    EXPECT_EQ(lines[3].Text, codes({32, 32, 255, 32, 4,  1,  1,   32, 32,  32,
                                    4,  1,  5,   32, 32, 32, 255, 32, '5', '6'}));
    EXPECT_EQ(lines[2].ScrollPos, 3) << "only the texts change";
}

TEST(BigTime, LeadingZerosAndSeconds) {
    std::array<LineRecord, 4> lines{};
    lines[0].Text = "old text that must go";
    BigTime(lines, QTime(9, 7, 5));
    EXPECT_EQ(lines[1].Text.left(8), codes({255, 32, 255, 32, 4, 1, 255, 32})); // 0 and 9
    EXPECT_EQ(lines[0].Text.mid(10, 8), codes({2, 0, 3, 32, 0, 0, 3, 32}));     // 0 and 7
    EXPECT_TRUE(lines[3].Text.endsWith("05"));
    EXPECT_EQ(lines[0].Text.size(), 20);
    EXPECT_EQ(lines[0].Text.count('\0'), 5) << "codes 0 are kept, not taken as an end";
}

TEST(BigTime, DigitOutsideTheTableAppendsNothing) {
    std::array<LineRecord, 4> lines{};
    BigDigit(lines, 10);
    BigDigit(lines, -1);
    for (const LineRecord& line : lines) {
        EXPECT_TRUE(line.Text.isEmpty());
    }
}
