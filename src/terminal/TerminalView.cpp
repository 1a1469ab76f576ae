#include "terminal/TerminalView.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"
#include "platform/AnsiText.h"
#include "render/CharacterMapping.h"

#include <array>
#include <unistd.h>

namespace {
// Each line is cleared before it is written, so that nothing of a longer one stays, and so is the
// line below, where the terminal echoes ^C.
QByteArray clearingFirst(QByteArray lines) {
    return lines.replace('\n', QByteArrayLiteral("\n\x1b[2K")).prepend("\x1b[2K");
}

// Every ROM code's terminal cell, in UTF-8, made once for each ROM.
std::array<QByteArray, 256> cellsOf(CharacterSet rom) {
    std::array<QByteArray, 256> made;
    for (int code = 0; code < 256; ++code) {
        made[code] = terminalGlyph(static_cast<quint8>(code), rom).toUtf8();
    }
    return made;
}

const std::array<QByteArray, 256>& terminalCells(CharacterSet rom) {
    static const std::array<QByteArray, 256> a00 = cellsOf(CharacterSet::A00);
    static const std::array<QByteArray, 256> a02 = cellsOf(CharacterSet::A02);
    return rom == CharacterSet::A02 ? a02 : a00;
}

// A user-defined character: the letter the program drew there, or the big-digit part.
QByteArray userCell(const Hd44780& lcd, int slot) {
    const GlyphRows rows = lcd.glyph(slot);
    if (const std::optional<quint8> letter = letterOfGlyph(rows)) {
        return ansi::toUnicode(QByteArray(1, static_cast<char>(*letter))).toUtf8();
    }
    return terminalGlyph(rows).toUtf8();
}

// A run of `count` box-drawing characters, between two corners.
QByteArray rule(const char* left, const char* middle, const char* right, int count) {
    return QByteArray(left) + QByteArray(middle).repeated(count) + right + '\n';
}
} // namespace

QByteArray renderTerminalFrame(const OnScreenPanel& panel) {
    const std::array<QByteArray, 256>& cells = terminalCells(panel.rom());
    QByteArray frame = rule("┌", "─", "┐", panel.columns());
    frame.reserve(frame.size() * (panel.lines() + 2));
    for (int line = 0; line < panel.lines(); ++line) {
        const auto [lcd, shown] = panel.row(line);
        frame += "│";
        for (int column = 0; column < panel.columns(); ++column) {
            const quint8 code = lcd.displayOn() ? lcd.codeAt(shown, column) : ' ';
            const std::optional<int> slot = Hd44780::glyphSlot(code);
            frame += slot ? userCell(lcd, *slot) : cells[code];
        }
        frame += "│\n";
    }
    return frame + rule("└", "─", "┘", panel.columns());
}

TerminalView::TerminalView(OnScreenPanel& panel, std::FILE* out, QString title, QObject* parent)
    : QObject(parent), panel(panel), out(out), terminal(::isatty(::fileno(out)) == 1),
      title(title.toUtf8()) {
    panel.setChangeListener([this] { draw(); });
    draw();
}

TerminalView::~TerminalView() {
    panel.setChangeListener({});
    draw();
}

void TerminalView::setTitle(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    if (utf8 != title) {
        title = utf8;
        draw();
    }
}

QByteArray TerminalView::frame() const {
    return title + '\n' + renderTerminalFrame(panel);
}

QByteArray TerminalView::backToFrameTop() const {
    return drawnLines > 0 ? "\x1b[" + QByteArray::number(drawnLines) + "A\r" : QByteArray();
}

void TerminalView::draw() {
    const QByteArray now = frame();
    if (now == drawn) {
        return;
    }
    put(terminal ? backToFrameTop() + clearingFirst(now) : now);
    drawn = now;
    drawnLines = static_cast<int>(now.count('\n'));
}

void TerminalView::printLog(const QString& line) {
    if (!terminal) {
        draw(); // a change of the panel made before this line is printed before it
        put(line.toUtf8() + '\n');
        return;
    }
    // The line is written over the top of the panel, which comes back one line lower, in one
    // write: the panel never disappears from the screen.
    const QByteArray now = frame();
    put(backToFrameTop() + clearingFirst(line.toUtf8() + '\n' + now));
    drawn = now;
    drawnLines = static_cast<int>(now.count('\n'));
}

void TerminalView::put(const QByteArray& text) {
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), out);
    std::fflush(out);
}
