#include "drivers/Hd44780.h"

#include "drivers/Hd44780Instructions.h"

using namespace hd44780;

namespace {
constexpr int kLineLength2 = 40; // DDRAM per line in 2-line mode
constexpr int kLineLength1 = 80; // DDRAM of the single line in 1-line mode
constexpr quint8 kFirstLineEnd = kFirstLineAddress + kLineLength2 - 1;   // 0x27
constexpr quint8 kSecondLineEnd = kSecondLineAddress + kLineLength2 - 1; // 0x67
constexpr quint8 kSingleLineEnd = kLineLength1 - 1;                      // 0x4F
} // namespace

Hd44780::Hd44780(int columns, int lines)
    : columnCount(qBound(1, columns, kMaxColumns)), lineCount(qBound(1, lines, kMaxLines)) {
    ddram.fill(' ');
}

void Hd44780::writeInstruction(quint8 code) {
    if (const std::optional<quint8> byte = assemble(code)) {
        execute(*byte);
    }
}

void Hd44780::writeData(quint8 value) {
    if (const std::optional<quint8> byte = assemble(value)) {
        store(*byte);
    }
}

std::optional<quint8> Hd44780::assemble(quint8 busByte) {
    if (eightBit) {
        return busByte;
    }
    if (!pendingHigh) {
        pendingHigh = busByte & 0xF0;
        return std::nullopt;
    }
    const quint8 byte = *pendingHigh | (busByte >> 4);
    pendingHigh.reset();
    return byte;
}

void Hd44780::execute(quint8 code) {
    if (code & kSetDdramAddress) {
        addressCounter = code & kDdramAddressMask;
        inCgram = false;
    } else if (code & kSetCgramAddress) {
        addressCounter = code & kCgramAddressMask;
        inCgram = true;
    } else if (code & kFunctionSet) {
        eightBit = code & kEightBitBus;
        twoLines = code & kTwoLines;
    } else if (code & kShift) {
        const bool right = code & kShiftRight;
        if (code & kShiftDisplay) {
            displayShift = (displayShift + (right ? kLineLength1 - 1 : 1)) % kLineLength1;
        } else {
            stepAddress(right);
        }
    } else if (code & kDisplayControl) {
        display = code & kDisplayOn;
        cursor = code & kCursorOn;
        blink = code & kBlinkOn;
    } else if (code & kEntryMode) {
        increment = code & kEntryIncrement;
        entryShift = code & kEntryShift;
    } else if (code & kReturnHome) {
        addressCounter = 0;
        inCgram = false;
        displayShift = 0;
    } else if (code & kClear) {
        ddram.fill(' ');
        addressCounter = 0;
        inCgram = false;
        displayShift = 0;
        increment = true;
    }
}

void Hd44780::store(quint8 value) {
    if (inCgram) {
        cgram[addressCounter & kCgramAddressMask] = value;
        stepAddress(increment);
        return;
    }
    if (const int index = ddramIndex(addressCounter); index >= 0) {
        ddram[index] = value;
    }
    stepAddress(increment);
    if (entryShift) {
        // Writing rightwards moves the text left under a cursor that stays put, and back.
        displayShift = (displayShift + (increment ? 1 : kLineLength1 - 1)) % kLineLength1;
    }
}

// In 2-line mode the chip skips the addresses that have no RAM: 0x27 is followed by 0x40 and
// 0x67 by 0x00, in both directions.
void Hd44780::stepAddress(bool forward) {
    const quint8 ac = addressCounter;
    if (inCgram) {
        addressCounter = (ac + (forward ? 1 : -1)) & kCgramAddressMask;
    } else if (twoLines) {
        if (forward) {
            addressCounter = ac == kFirstLineEnd    ? kSecondLineAddress
                             : ac == kSecondLineEnd ? kFirstLineAddress
                                                    : (ac + 1) & kDdramAddressMask;
        } else {
            addressCounter = ac == kSecondLineAddress  ? kFirstLineEnd
                             : ac == kFirstLineAddress ? kSecondLineEnd
                                                       : (ac - 1) & kDdramAddressMask;
        }
    } else if (forward) {
        addressCounter = ac == kSingleLineEnd ? kFirstLineAddress : (ac + 1) & kDdramAddressMask;
    } else {
        addressCounter = ac == kFirstLineAddress ? kSingleLineEnd : (ac - 1) & kDdramAddressMask;
    }
}

// Where a DDRAM address is kept; -1 for the addresses with no RAM behind them, whose writes are
// lost.
int Hd44780::ddramIndex(quint8 address) const {
    if (!twoLines) {
        return address < kLineLength1 ? address : -1;
    }
    if (address < kLineLength2) {
        return address;
    }
    if (address >= kSecondLineAddress && address < kSecondLineAddress + kLineLength2) {
        return kLineLength2 + address - kSecondLineAddress;
    }
    return -1;
}

// Lines 3 and 4 are driven by the same common lines as 1 and 2, further along the segments.
bool Hd44780::drives(int line) const {
    if (line < 0 || line >= lineCount) {
        return false;
    }
    if (line >= 2 && columnCount > 20) {
        return false;
    }
    return twoLines || line % 2 == 0;
}

quint8 Hd44780::addressAt(int line, int column) const {
    const int position = (line / 2) * columnCount + column + displayShift;
    if (!twoLines) {
        return position % kLineLength1;
    }
    return (line % 2 ? kSecondLineAddress : kFirstLineAddress) + position % kLineLength2;
}

quint8 Hd44780::codeAt(int line, int column) const {
    if (!drives(line) || column < 0 || column >= columnCount) {
        return ' ';
    }
    const int index = ddramIndex(addressAt(line, column));
    return index >= 0 ? ddram[index] : ' ';
}

QByteArray Hd44780::line(int line) const {
    QByteArray text(columnCount, ' ');
    for (int column = 0; column < columnCount; ++column) {
        text[column] = static_cast<char>(codeAt(line, column));
    }
    return text;
}

std::optional<Hd44780::Cell> Hd44780::cursorCell() const {
    if (inCgram) {
        return std::nullopt;
    }
    for (int line = 0; line < lineCount; ++line) {
        for (int column = 0; drives(line) && column < columnCount; ++column) {
            if (addressAt(line, column) == addressCounter) {
                return Cell{line, column};
            }
        }
    }
    return std::nullopt;
}

std::optional<int> Hd44780::glyphSlot(quint8 code) {
    if (code >= 0x10) {
        return std::nullopt;
    }
    return code & 7;
}

std::array<quint8, 8> Hd44780::glyph(int slot) const {
    std::array<quint8, 8> rows{};
    for (int row = 0; row < 8; ++row) {
        rows[row] = cgram[(slot & 7) * 8 + row] & 0x1F;
    }
    return rows;
}

void Hd44780::loadGlyph(int slot, const std::array<quint8, 8>& rows) {
    for (int row = 0; row < 8; ++row) {
        cgram[(slot & 7) * 8 + row] = rows[row];
    }
}
