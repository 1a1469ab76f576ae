#include "drivers/OnScreenPanel.h"

#include "drivers/Hd44780Font.h"
#include "drivers/Hd44780Instructions.h"

#include <utility>

using namespace hd44780;

namespace {
// 8-bit bus and two-line addressing, clear, increment without shift, display on without cursor.
constexpr quint8 kInitSequence[] = {kFunctionSet | kEightBitBus | kTwoLines, kClear,
                                    kEntryMode | kEntryIncrement, kDisplayControl | kDisplayOn};
constexpr quint8 kFirstLine = kSetDdramAddress | kFirstLineAddress;
constexpr quint8 kSecondLine = kSetDdramAddress | kSecondLineAddress;
} // namespace

std::vector<Hd44780> moduleControllers(int columns, int lines) {
    columns = qBound(1, columns, Hd44780::kMaxColumns);
    lines = qBound(1, lines, Hd44780::kMaxLines);
    // Lines 3 and 4 continue lines 1 and 2 in a controller's two 40-character lines, so they
    // fit in one only up to 20 columns.
    if (lines > 2 && columns > 20) {
        return {Hd44780(columns, 2), Hd44780(columns, lines - 2)};
    }
    return {Hd44780(columns, lines)};
}

OnScreenPanel::OnScreenPanel(int columns, int lines, CharacterSet rom)
    : columnCount(qBound(1, columns, Hd44780::kMaxColumns)),
      lineCount(qBound(1, lines, Hd44780::kMaxLines)),
      characterRom(rom == CharacterSet::A02 ? rom : CharacterSet::A00),
      controllers(moduleControllers(columns, lines)) {
    for (Hd44780& controller : controllers) {
        for (int slot = 0; slot < 8; ++slot) {
            controller.loadGlyph(slot, bigDigitCgram()[slot]);
        }
    }
}

void OnScreenPanel::reset() {
    for (Hd44780& controller : controllers) {
        for (const quint8 code : kInitSequence) {
            controller.writeInstruction(code);
        }
    }
    current = 0;
    shown.reset();
    if (changed) {
        changed();
    }
}

bool OnScreenPanel::setBacklight(bool on) {
    if (std::exchange(lit, on) != on && changed) {
        changed();
    }
    return true;
}

void OnScreenPanel::show(const Frame& frame) {
    if (shown == frame) {
        return;
    }
    for (int slot = 0; slot < 8; ++slot) {
        if (frame.glyphs[slot]) {
            for (Hd44780& controller : controllers) {
                controller.loadGlyph(slot, *frame.glyphs[slot]);
            }
        }
    }
    writeFrame(
        frame, [this](int line) { lineStart(line); },
        [this](const QByteArray& text) { write(text); });
    // Text written at the cursor goes further each time: only whole lines are shown alike again.
    if (frame.atCursor) {
        shown.reset();
    } else {
        shown = frame;
    }
    if (changed) {
        changed();
    }
}

void OnScreenPanel::lineStart(int line) {
    const bool lower = line >= 2;
    current = lower && secondController() ? 1 : 0;
    const int further = lower && !secondController() ? columnCount : 0;
    controllers[current].writeInstruction(
        static_cast<quint8>((line % 2 == 1 ? kSecondLine : kFirstLine) + further));
}

void OnScreenPanel::write(const QByteArray& text) {
    for (const char byte : text) {
        controllers[current].writeData(static_cast<quint8>(byte));
    }
}

OnScreenPanel::Row OnScreenPanel::row(int line) const {
    if (line >= 2 && secondController()) {
        return {controllers[1], line - 2};
    }
    return {controllers[0], line};
}

QByteArray OnScreenPanel::line(int line) const {
    const Row shown = row(line);
    return shown.controller.line(shown.line);
}
