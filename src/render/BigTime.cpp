#include "render/BigTime.h"

#include "model/BigDigitGlyphs.h"
#include "model/TwoDigits.h"

void BigDigit(std::array<LineRecord, kLinesPerPage>& lines, qint16 digit) {
    if (digit < 0 || digit > 9) {
        return;
    }
    for (int row = 0; row < 4; ++row) {
        lines[row].Text.append(reinterpret_cast<const char*>(kDigitGlyphs[digit][row]), 4);
    }
}

void BigTime(std::array<LineRecord, kLinesPerPage>& lines, const QTime& now) {
    for (LineRecord& line : lines) {
        line.Text.clear();
    }
    BigDigit(lines, static_cast<qint16>(now.hour() / 10));
    BigDigit(lines, static_cast<qint16>(now.hour() % 10));
    lines[0].Text.append("  ");
    lines[1].Text.append("\x01 ", 2);
    lines[2].Text.append("\x01 ", 2);
    lines[3].Text.append("  ");
    BigDigit(lines, static_cast<qint16>(now.minute() / 10));
    BigDigit(lines, static_cast<qint16>(now.minute() % 10));
    for (int row = 0; row < 3; ++row) {
        lines[row].Text.append("  ");
    }
    lines[3].Text.append(TwoDigits(now.second()));
}
