#include "shell/TerminalView.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"

#include <unistd.h>

namespace {
// Each line is cleared before it is written, so that nothing of a longer one stays, and so is the
// line below, where the terminal echoes ^C.
QString clearingFirst(QString lines) {
    return lines.replace('\n', QStringLiteral("\n\x1b[2K")).prepend(QStringLiteral("\x1b[2K"));
}
} // namespace

QString renderTerminalFrame(const OnScreenPanel& panel) {
    const QString rule = QString(panel.columns(), QChar(0x2500));
    QString frame = QChar(0x250C) + rule + QChar(0x2510) + '\n';
    for (int line = 0; line < panel.lines(); ++line) {
        const auto [lcd, shown] = panel.row(line);
        frame += QChar(0x2502);
        for (int column = 0; column < panel.columns(); ++column) {
            frame +=
                lcd.displayOn() ? terminalGlyph(lcd.codeAt(shown, column)) : QStringLiteral(" ");
        }
        frame += QChar(0x2502) + QStringLiteral("\n");
    }
    frame += QChar(0x2514) + rule + QChar(0x2518) + '\n';
    return frame;
}

TerminalView::TerminalView(OnScreenPanel& panel, std::FILE* out, QString title, QObject* parent)
    : QObject(parent), panel(panel), out(out), terminal(::isatty(::fileno(out)) == 1),
      title(std::move(title)) {
    redraw.setSingleShot(true);
    redraw.setInterval(0);
    connect(&redraw, &QTimer::timeout, this, &TerminalView::draw);
    panel.setChangeListener([this] { redraw.start(); });
    draw();
}

TerminalView::~TerminalView() {
    panel.setChangeListener({});
    draw();
}

void TerminalView::setTitle(const QString& text) {
    if (text != title) {
        title = text;
        redraw.start();
    }
}

QString TerminalView::frame() const {
    return title + '\n' + renderTerminalFrame(panel);
}

QString TerminalView::backToFrameTop() const {
    return drawnLines > 0 ? QStringLiteral("\x1b[%1A\r").arg(drawnLines) : QString();
}

void TerminalView::draw() {
    const QString now = frame();
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
        put(line + '\n');
        return;
    }
    // The line is written over the top of the panel, which comes back one line lower, in one
    // write: the panel never disappears from the screen.
    const QString now = frame();
    put(backToFrameTop() + clearingFirst(line + '\n' + now));
    drawn = now;
    drawnLines = static_cast<int>(now.count('\n'));
}

void TerminalView::put(const QString& text) {
    std::fputs(text.toUtf8().constData(), out);
    std::fflush(out);
}
