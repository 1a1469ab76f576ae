#include "render/BigTime.h"

#include "drivers/Hd44780Font.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
// The rows as a terminal panel shows them, with the big-digit shapes loaded.
QStringList shown(const std::array<LineRecord, kLinesPerPage>& lines) {
    QStringList rows;
    for (const LineRecord& line : lines) {
        QString row;
        for (const char code : line.Text) {
            row += terminalGlyph(static_cast<quint8>(code));
        }
        rows.append(row);
    }
    return rows;
}
} // namespace

TEST(BigTime, DrawsTheTenDigitsThreeColumnsWideAndFourLinesHigh) {
    std::array<LineRecord, kLinesPerPage> lines{};
    for (qint16 digit = -1; digit <= 10; ++digit) { // -1 and 10 are no digits: nothing
        BigDigit(lines, digit);
    }
    EXPECT_EQ(shown(lines), QStringList({"▛▀▜  ▛█ ▛▀▜ ▛▀▜ ▛▀▀ █▀▜ ▛▀▜ ▀▀▜ ▛▀▜ ▛▀▜ ", //
                                         "█ █   █  ▄▟   █ █ ▄ ▙▄▄ █     █ ▙▄▟ ▙▄█ ", //
                                         "█ █   █ ▛▀   ▀█ ▙▄█   █ █▀▜  █  ▛ ▜   █ ", //
                                         "▙▄▟   █ ▙▄▄ ▙▄▟   █ ▙▄▟ ▙▄▟  █  ▙▄▟ ▙▄▟ "}));
}

TEST(BigTime, ShowsHoursAndMinutesInBigDigitsAndTheSecondsInTheCorner) {
    std::array<LineRecord, kLinesPerPage> lines{};
    lines[0].Text = "un texte qui doit partir";
    lines[2].ScrollPos = 3;
    BigTime(lines, QTime(12, 34, 56));
    EXPECT_EQ(shown(lines), QStringList({" ▛█ ▛▀▜   ▛▀▜ ▛▀▀   ", //
                                         "  █  ▄▟ ▄   █ █ ▄   ", //
                                         "  █ ▛▀  ▄  ▀█ ▙▄█   ", //
                                         "  █ ▙▄▄   ▙▄▟   █ 56"}));
    EXPECT_EQ(lines[2].ScrollPos, 3) << "only the texts change";
}
