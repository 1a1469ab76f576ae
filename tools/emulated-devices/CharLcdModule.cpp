#include "CharLcdModule.h"

namespace {
// The driver gives up a sequence it did not understand at this length.
constexpr int kLongestSequence = 24;
constexpr char kEscape = 0x1B;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
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
    switch (command[0]) {
    case 'D':
    case 'd':
        display = command[0] == 'D';
        break;
    case 'C':
    case 'c':
        cursor = command[0] == 'C';
        break;
    case 'B':
    case 'b':
        blink = command[0] == 'B';
        break;
    case '+':
    case '-':
        light = command[0] == '+';
        return true;
    case 'G': {
        if (!command.endsWith(';')) {
            return false;
        }
        const int slot = command.size() > 1 ? command[1] - '0' : -1;
        if (slot < 0 || slot > 7) {
            return true;
        }
        GlyphRows rows = shown.glyph(slot);
        int row = 0;
        for (int i = 2; i + 1 < command.size() && row < 8; i += 2) {
            const int high = hexDigit(command[i]);
            const int low = hexDigit(command[i + 1]);
            if (high < 0 || low < 0) {
                break;
            }
            rows[row++] = quint8((high << 4 | low) & 0x1F);
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
    shown.setModes(display, cursor, blink);
    return true;
}
