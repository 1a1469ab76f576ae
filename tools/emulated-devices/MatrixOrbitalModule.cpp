#include "MatrixOrbitalModule.h"

#include <tuple>
#include <utility>

namespace {

constexpr char kCommand = char(0xFE);

// How many bytes follow each command with arguments; every other command has none.
int argumentCount(char command) {
    switch (command) {
    case 'G':
    case '#':
    case '=':
        return 2;
    case 'N':
        return 9;
    case 'B':
    case 'P':
    case 'Y':
    case '\x99':
        return 1;
    case '|':
        return 4;
    default:
        return 0;
    }
}

} // namespace

MatrixOrbitalModule::MatrixOrbitalModule(int columns, int lines, quint8 type)
    : shown(columns, lines), type(type) {
    feed("Matrix Orbital");
}

QByteArray MatrixOrbitalModule::feed(const QByteArray& bytes) {
    QByteArray answer;
    for (const char byte : bytes) {
        answer += take(byte);
    }
    return answer;
}

QByteArray MatrixOrbitalModule::take(char byte) {
    if (pending.isEmpty() && byte != kCommand) {
        text(byte);
        return {};
    }
    pending += byte;
    if (pending.size() < 2 || pending.size() < 2 + argumentCount(pending[1])) {
        return {};
    }
    return run(std::exchange(pending, QByteArray()).mid(1));
}

QByteArray MatrixOrbitalModule::run(const QByteArray& command) {
    const auto argument = [&](int i) { return quint8(command[1 + i]); };
    switch (command[0]) {
    case 'X':
        shown.clear();
        break;
    case 'H':
        shown.moveTo(0, 0);
        break;
    case 'G':
        if (argument(0) >= 1 && argument(0) <= shown.columns() && argument(1) >= 1 &&
            argument(1) <= shown.lines()) {
            shown.moveTo(argument(1) - 1, argument(0) - 1);
        }
        break;
    case 'N': {
        GlyphRows rows{};
        for (int row = 0; row < 8; ++row) {
            rows[row] = argument(1 + row) & 0x1F;
        }
        shown.defineGlyph(argument(0), rows);
        break;
    }
    case 'P':
        contrastLevel = argument(0);
        break;
    case '7':
        return QByteArray(1, char(type));
    default:
        // The commands that switch something on, and their opposites.
        for (const auto& [on, off, setting] : {std::tuple{'B', 'F', &light},
                                               {'C', 'D', &wrap},
                                               {'Q', 'R', &scroll},
                                               {'J', 'K', &underline},
                                               {'S', 'T', &block}}) {
            if (command[0] == on || command[0] == off) {
                *setting = command[0] == on;
            }
        }
        break;
    }
    shown.setModes(true, underline, block);
    return {};
}

// Backspace, line feed and carriage return move the cursor; past the end of a line the text
// goes on at the start of the next one while line wrap is on.
void MatrixOrbitalModule::text(char byte) {
    switch (byte) {
    case '\b':
        shown.moveTo(shown.cursorLine(), qMax(0, shown.cursorColumn() - 1));
        return;
    case '\n':
        shown.moveTo((shown.cursorLine() + 1) % shown.lines(), shown.cursorColumn());
        return;
    case '\r':
        shown.moveTo(shown.cursorLine(), 0);
        return;
    default:
        break;
    }
    if (shown.cursorColumn() >= shown.columns() && wrap) {
        shown.moveTo((shown.cursorLine() + 1) % shown.lines(), 0);
    }
    shown.put(quint8(byte));
}
