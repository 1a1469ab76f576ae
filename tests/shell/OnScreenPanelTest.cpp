#include "drivers/OnScreenPanel.h"

#include "drivers/Hd44780Font.h"
#include "shell/LcdWidget.h"
#include "shell/TerminalView.h"
#include "support/QtPrinters.h"

#include <QCoreApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

// A known frame: text, a degree sign, the full block and a big-digit shape.
OnScreenPanel knownFrame(int columns = 20) {
    OnScreenPanel panel(columns, 4);
    panel.init();
    panel.lineStart(0);
    panel.write("Relayeur");
    panel.lineStart(2);
    panel.write(QByteArray("41\xDF"
                           "C \xFF",
                           6) +
                QByteArray(1, '\0'));
    return panel;
}

} // namespace

TEST(OnScreenPanel, ShowsEachLineOfEverySizeWhereARealModuleHasIt) {
    for (const auto& [columns, lines] :
         {std::pair{8, 1}, {16, 2}, {16, 4}, {20, 4}, {40, 2}, {40, 4}}) {
        OnScreenPanel panel(columns, lines);
        panel.init();
        for (int line = 0; line < lines; ++line) {
            panel.lineStart(line);
            panel.write(QByteArray(columns, char('a' + line)));
        }
        for (int line = 0; line < lines; ++line) {
            EXPECT_EQ(panel.line(line), QByteArray(columns, char('a' + line)))
                << columns << "x" << lines << ", line " << line + 1;
            EXPECT_EQ(panel.row(line).controller.glyph(0), bigDigitCgram()[0])
                << "the clock's shapes are in every controller";
        }
    }
}

TEST(OnScreenPanel, ShowsWhatIsWrittenAndTheTerminalDrawsIt) {
    OnScreenPanel panel = knownFrame();
    const Hd44780& lcd = panel.row(0).controller;
    EXPECT_TRUE(lcd.displayOn());
    EXPECT_FALSE(lcd.cursorOn());
    EXPECT_EQ(panel.line(0), "Relayeur" + QByteArray(12, ' '));
    EXPECT_EQ(panel.line(2), QByteArray("41\xDF"
                                        "C \xFF",
                                        6) +
                                 QByteArray(1, '\0') + QByteArray(13, ' '));

    const QStringList rows = renderTerminalFrame(panel).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 6);
    EXPECT_EQ(rows[0], "┌" + QString(20, QChar(0x2500)) + "┐");
    EXPECT_EQ(rows[1], "│Relayeur            │");
    EXPECT_EQ(rows[3], "│41°C █▀             │");
    EXPECT_EQ(rows[5], "└" + QString(20, QChar(0x2500)) + "┘");

    OnScreenPanel dark(16, 2);
    EXPECT_EQ(renderTerminalFrame(dark).split('\n')[1], "│" + QString(16, ' ') + "│")
        << "a panel never set up shows nothing";

    panel.init();
    EXPECT_EQ(panel.line(0), QByteArray(20, ' '));
}

TEST(OnScreenPanel, WidgetDrawsEveryDotOfBothControllers) {
    OnScreenPanel panel = knownFrame(40);
    LcdWidget widget(panel);
    widget.resize(widget.sizeHint());
    const QImage image = widget.grab().toImage();
    for (int line = 0; line < 4; ++line) {
        const auto [lcd, shown] = panel.row(line);
        for (int column = 0; column < 40; ++column) {
            const quint8 code = lcd.codeAt(shown, column);
            const auto slot = Hd44780::glyphSlot(code);
            const std::array<quint8, 8> rows = slot ? lcd.glyph(*slot) : romGlyph(code);
            for (int row = 0; row < 8; ++row) {
                for (int dot = 0; dot < 5; ++dot) {
                    const bool lit = (rows[row] >> (4 - dot)) & 1;
                    const QPoint centre = widget.dotRect(line, column, row, dot).center().toPoint();
                    ASSERT_EQ(image.pixelColor(centre), widget.dotColour(lit))
                        << "line " << line << " column " << column << " row " << row << " dot "
                        << dot;
                }
            }
        }
    }
}

// Into a file or a pipe: each new look once, as plain lines, in order with the log lines.
TEST(OnScreenPanel, OffATerminalTheViewWritesPlainFramesOnlyWhenTheyChange) {
    OnScreenPanel panel = knownFrame();
    char* printed = nullptr;
    size_t size = 0;
    std::FILE* out = ::open_memstream(&printed, &size);
    ASSERT_NE(out, nullptr);
    const QString first = renderTerminalFrame(panel);
    QString changed;
    {
        TerminalView view(panel, out, "Relayeur");
        view.printLog("un");
        panel.lineStart(0);
        panel.write("Relayeur"); // the same look again
        QCoreApplication::processEvents();
        view.printLog("deux");
        panel.lineStart(0);
        panel.write("Relais  ");
        view.setTitle("demo.tlcd — page 2");
        changed = renderTerminalFrame(panel);
        view.printLog("trois");
        panel.init(); // the way out: printed as the view goes
    }
    std::fclose(out);
    const QString text = QString::fromUtf8(printed, static_cast<qsizetype>(size));
    std::free(printed);
    EXPECT_EQ(text, "Relayeur\n" + first + "un\ndeux\ndemo.tlcd — page 2\n" + changed +
                        "trois\ndemo.tlcd — page 2\n" + renderTerminalFrame(panel));
    EXPECT_FALSE(text.contains('\x1b'));
}
