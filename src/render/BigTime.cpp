#include "render/BigTime.h"

#include "model/TwoDigits.h"

namespace {

// For each digit, four rows of four codes: three columns of the digit and a space. Codes 0-5
// are the panel's user-defined shapes (bars and rounded corners), 255 its full block.
constexpr unsigned char kDigitGlyphs[10][4][4] = {
    {{2, 0, 3, 32}, {255, 32, 255, 32}, {255, 32, 255, 32}, {4, 1, 5, 32}},
    {{32, 2, 255, 32}, {32, 32, 255, 32}, {32, 32, 255, 32}, {32, 32, 255, 32}},
    {{2, 0, 3, 32}, {32, 1, 5, 32}, {2, 0, 32, 32}, {4, 1, 1, 32}},
    {{2, 0, 3, 32}, {32, 32, 255, 32}, {32, 0, 255, 32}, {4, 1, 5, 32}},
    {{2, 0, 0, 32}, {255, 32, 1, 32}, {4, 1, 255, 32}, {32, 32, 255, 32}},
    {{255, 0, 3, 32}, {4, 1, 1, 32}, {32, 32, 255, 32}, {4, 1, 5, 32}},
    {{2, 0, 3, 32}, {255, 32, 32, 32}, {255, 0, 3, 32}, {4, 1, 5, 32}},
    {{0, 0, 3, 32}, {32, 32, 255, 32}, {32, 255, 32, 32}, {32, 255, 32, 32}},
    {{2, 0, 3, 32}, {4, 1, 5, 32}, {2, 32, 3, 32}, {4, 1, 5, 32}},
    {{2, 0, 3, 32}, {4, 1, 255, 32}, {32, 32, 255, 32}, {4, 1, 5, 32}},
};

} // namespace

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
