#include "shell/TerminalView.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"

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

TerminalView::TerminalView(OnScreenPanel& panel, std::FILE* out, QObject* parent)
    : QObject(parent), panel(panel), out(out) {
    redraw.setSingleShot(true);
    redraw.setInterval(0);
    connect(&redraw, &QTimer::timeout, this, &TerminalView::draw);
    panel.setChangeListener([this] { redraw.start(); });
    draw();
}

void TerminalView::draw() {
    const QString frame = renderTerminalFrame(panel);
    if (frame == drawn) {
        return;
    }
    drawn = frame;
    QString text;
    if (drawnLines > 0) {
        text = QStringLiteral("\x1b[%1A").arg(drawnLines); // back to the top of the last frame
    }
    drawnLines = static_cast<int>(frame.count('\n'));
    text += frame;
    std::fputs(text.toUtf8().constData(), out);
    std::fflush(out);
}
