#include "render/BigTime.h"

#include "model/BigDigitGlyphs.h"
#include "model/TwoDigits.h"

QByteArrayView BigDigitRow(int digit, int row) {
    if (row < 0 || row > 3 || digit < 0 || digit > 10) {
        return {};
    }
    if (digit == 10) {
        return row == 1 || row == 2 ? QByteArrayView("\x01 ", 2) : QByteArrayView("  ", 2);
    }
    return QByteArrayView(reinterpret_cast<const char*>(kDigitGlyphs[digit][row]), 4);
}

void BigDigit(std::array<LineRecord, kLinesPerPage>& lines, qint16 digit) {
    if (digit < 0 || digit > 9) {
        return;
    }
    for (int row = 0; row < 4; ++row) {
        lines[row].Text.append(BigDigitRow(digit, row));
    }
}

void BigTime(std::array<LineRecord, kLinesPerPage>& lines, const QTime& now) {
    // Each row is made in one allocation of its 20 characters rather than grown by each glyph.
    for (LineRecord& line : lines) {
        line.Text = QByteArray();
        line.Text.reserve(20);
    }
    BigDigit(lines, static_cast<qint16>(now.hour() / 10));
    BigDigit(lines, static_cast<qint16>(now.hour() % 10));
    for (int row = 0; row < 4; ++row) {
        lines[row].Text.append(BigDigitRow(10, row));
    }
    BigDigit(lines, static_cast<qint16>(now.minute() / 10));
    BigDigit(lines, static_cast<qint16>(now.minute() % 10));
    for (int row = 0; row < 3; ++row) {
        lines[row].Text.append("  ");
    }
    lines[3].Text.append(TwoDigits(now.second()));
}
