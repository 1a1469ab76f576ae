#include "CharLcdModule.h"

#include <tuple>

namespace {
// The driver gives up a sequence it did not understand at this length.
constexpr int kLongestSequence = 24;
constexpr char kEscape = 0x1B;

} // namespace

CharLcdModule::CharLcdModule(int columns, int lines) : shown(columns, lines) {
    feed("Linux-6.1.0\n");
}

void CharLcdModule::feed(const QByteArray& bytes) {
    for (const char byte : bytes) {
        take(byte);
    }
}

void CharLcdModule::take(char byte) {
    if (inEscape && byte != '\n') {
        sequence += byte;
        if (escape() || sequence.size() >= kLongestSequence) {
            inEscape = false;
        }
        return;
    }
    inEscape = false;
    switch (byte) {
    case kEscape:
        inEscape = true;
        sequence.clear();
        break;
    case '\f':
        shown.clear();
        break;
    case '\n':
        while (shown.cursorColumn() < shown.columns()) {
            shown.put(' ');
        }
        shown.moveTo((shown.cursorLine() + 1) % shown.lines(), 0);
        break;
    case '\r':
        shown.moveTo(shown.cursorLine(), 0);
        break;
    case '\b':
        if (shown.cursorColumn() > 0) {
            shown.moveTo(shown.cursorLine(), shown.cursorColumn() - 1);
            shown.put(' ');
            shown.moveTo(shown.cursorLine(), shown.cursorColumn() - 1);
        }
        break;
    case '\t':
        shown.put(' ');
        break;
    default:
        shown.put(quint8(byte));
        break;
    }
}

// True once the sequence is understood and done with.
bool CharLcdModule::escape() {
    if (sequence == "[2J") {
        shown.clear();
        return true;
    }
    if (sequence == "[H") {
        shown.moveTo(0, 0);
        return true;
    }
    if (sequence.size() >= 3 && sequence.startsWith("[L")) {
        return lcdCommand(sequence.mid(2));
    }
    return false;
}

bool CharLcdModule::lcdCommand(const QByteArray& command) {
    // The switches: on in capitals, off in small letters; the backlight + and -.
    for (const auto& [on, off, setting] : {std::tuple{'D', 'd', &display},
                                           {'C', 'c', &cursor},
                                           {'B', 'b', &blink},
                                           {'+', '-', &light}}) {
        if (command[0] == on || command[0] == off) {
            *setting = command[0] == on;
            shown.setModes(display, cursor, blink);
            return true;
        }
    }
    switch (command[0]) {
    case 'G': {
        if (!command.endsWith(';')) {
            return false;
        }
        const int slot = command.size() > 1 ? command[1] - '0' : -1;
        if (slot < 0 || slot > 7) {
            return true;
        }
        // Two hex digits a row, from the top; what is missing stays as it was.
        GlyphRows rows = shown.glyph(slot);
        const QByteArray dots = QByteArray::fromHex(command.mid(2, command.size() - 3));
        for (int row = 0; row < qMin(8, int(dots.size())); ++row) {
            rows[row] = quint8(dots[row]) & 0x1F;
        }
        shown.defineGlyph(slot, rows);
        return true;
    }
    case 'x':
    case 'y': {
        if (!command.endsWith(';')) {
            return false;
        }
        int line = shown.cursorLine();
        int column = shown.cursorColumn();
        bool valid = true;
        for (int i = 0; valid && command[i] != ';';) {
            int end = i + 1;
            while (end < command.size() && command[end] >= '0' && command[end] <= '9') {
                ++end;
            }
            valid = end > i + 1 && (command[i] == 'x' || command[i] == 'y');
            const int value = command.mid(i + 1, end - i - 1).toInt();
            (command[i] == 'x' ? column : line) = value;
            i = end;
        }
        if (valid) {
            shown.moveTo(line, column);
        }
        return true;
    }
    default:
        return false;
    }
}
