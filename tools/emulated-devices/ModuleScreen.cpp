#include "ModuleScreen.h"

#include "drivers/Hd44780Font.h"
#include "drivers/Hd44780Instructions.h"
#include "drivers/OnScreenPanel.h"

using namespace hd44780;

ModuleScreen::ModuleScreen(int columns, int lines)
    : columnCount(qBound(1, columns, Hd44780::kMaxColumns)),
      lineCount(qBound(1, lines, Hd44780::kMaxLines)),
      controllers(moduleControllers(columns, lines)) {
    for (Hd44780& controller : controllers) {
        controller.writeInstruction(kFunctionSet | kEightBitBus | kTwoLines);
        controller.writeInstruction(kEntryMode | kEntryIncrement);
    }
    setModes(true, true, true);
    clear();
}

void ModuleScreen::clear() {
    for (Hd44780& controller : controllers) {
        controller.writeInstruction(kClear);
    }
    moveTo(0, 0);
}

Hd44780& ModuleScreen::controllerOf(int line) {
    return controllers[line >= 2 && controllers.size() > 1 ? 1 : 0];
}

void ModuleScreen::moveTo(int line, int column) {
    atLine = qBound(0, line, lineCount - 1);
    atColumn = qMax(0, column);
    if (atColumn >= columnCount) {
        return;
    }
    const bool lower = atLine >= 2;
    const int further = lower && controllers.size() == 1 ? columnCount : 0;
    const int start = atLine % 2 == 1 ? kSecondLineAddress : kFirstLineAddress;
    controllerOf(atLine).writeInstruction(quint8(kSetDdramAddress | (start + further + atColumn)));
}

void ModuleScreen::put(quint8 code) {
    if (atColumn < columnCount) {
        controllerOf(atLine).writeData(code);
    }
    ++atColumn;
}

void ModuleScreen::defineGlyph(int slot, const GlyphRows& rows) {
    for (Hd44780& controller : controllers) {
        controller.loadGlyph(slot & 7, rows);
    }
}

void ModuleScreen::setModes(bool display, bool cursor, bool blink) {
    const quint8 code = kDisplayControl | (display ? kDisplayOn : 0) | (cursor ? kCursorOn : 0) |
                        (blink ? kBlinkOn : 0);
    for (Hd44780& controller : controllers) {
        controller.writeInstruction(code);
    }
}

bool ModuleScreen::cursorShown() const {
    const Hd44780& front = controllers.front();
    return front.displayOn() && (front.cursorOn() || front.blinkOn());
}

QByteArray ModuleScreen::line(int line) const {
    const bool lower = line >= 2 && controllers.size() > 1;
    return controllers[lower ? 1 : 0].line(lower ? line - 2 : line);
}

QByteArrayList ModuleScreen::text() const {
    QByteArrayList lines;
    for (int i = 0; i < lineCount; ++i) {
        lines << line(i);
    }
    return lines;
}

QString ModuleScreen::printable(int line, CharacterSet rom) const {
    QString shown;
    for (const char code : this->line(line)) {
        const auto slot = Hd44780::glyphSlot(quint8(code));
        shown += slot ? terminalGlyph(glyph(*slot)) : terminalGlyph(quint8(code), rom);
    }
    return shown;
}
