#include "terminal/TerminalView.h"

#include "drivers/OnScreenPanel.h"
#include "support/PseudoTerminal.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

// The rows a terminal shows after `bytes`: the cursor moves up with ESC [ n A, back to the row's
// start with CR and down with LF; ESC [ 2 K blanks the row; anything else is written in place.
QStringList screen(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes);
    QStringList rows{QString()};
    qsizetype row = 0;
    qsizetype column = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\x1b') {
            const qsizetype end = text.indexOf(QRegularExpression("[A-Za-z]"), i);
            const QString sequence = text.mid(i + 2, end - i - 2);
            if (text[end] == u'A') {
                row = std::max<qsizetype>(0, row - sequence.toInt());
            } else if (text[end] == u'K') {
                rows[row].clear();
            }
            i = end;
        } else if (c == u'\r') {
            column = 0;
        } else if (c == u'\n') {
            if (++row == rows.size()) {
                rows.append(QString());
            }
            column = 0;
        } else {
            rows[row] = rows[row].leftJustified(column).replace(column, 1, c);
            ++column;
        }
    }
    if (rows.back().isEmpty()) {
        rows.removeLast();
    }
    return rows;
}

} // namespace

// On a terminal, the log runs above the panel, which keeps its place below it and is drawn over
// itself: the screen holds one panel, whatever was printed.
TEST(TerminalView, OnATerminalTheLogGoesAboveOnePanelDrawnInPlace) {
    PseudoTerminal terminal;
    ASSERT_FALSE(terminal.slave.isEmpty());
    std::FILE* out = std::fopen(terminal.slave.toLocal8Bit().constData(), "w");
    ASSERT_NE(out, nullptr);
    OnScreenPanel panel(8, 2);
    panel.reset();
    {
        TerminalView view(panel, out, "demo");
        view.printLog("Chargement");
        panel.show(rowsFrame({"Bonjour ", "monde   "}));
        view.printLog("Page 1");
        view.setTitle("demo, page 2");
        panel.show(rowsFrame({"Au      ", "revoir  "}));
        panel.show(rowsFrame({"Au      ", "revoir  "}));
    }
    std::fclose(out);
    const QStringList expected = {"Chargement",   "Page 1",     "demo, page 2", "┌────────┐",
                                  "│Au      │", "│revoir  │", "└────────┘"};
    ASSERT_TRUE(terminal.receiveUntil([&](const QByteArray& bytes) {
        return screen(bytes).size() >= expected.size();
    })) << terminal.received.toStdString();
    EXPECT_EQ(screen(terminal.received), expected) << terminal.received.toStdString();
}
