// The on-screen panel and its drawing in the window.
#include "drivers/OnScreenPanel.h"

#include "drivers/Hd44780Font.h"
#include "shell/LcdWidget.h"
#include "support/QtPrinters.h"
#include "support/RowsFrame.h"

#include <QImage>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

TEST(OnScreenPanel, ShowsEachLineOfEverySizeWhereARealModuleHasIt) {
    for (const auto& [columns, lines] :
         {std::pair{8, 1}, {16, 2}, {16, 4}, {20, 4}, {40, 2}, {40, 4}}) {
        OnScreenPanel panel(columns, lines);
        panel.reset();
        QByteArrayList rows;
        for (int line = 0; line < lines; ++line) {
            rows.append(QByteArray(columns, char('a' + line)));
        }
        panel.show(rowsFrame(rows));
        for (int line = 0; line < lines; ++line) {
            EXPECT_EQ(panel.line(line), QByteArray(columns, char('a' + line)))
                << columns << "x" << lines << ", line " << line + 1;
            EXPECT_EQ(panel.row(line).controller.glyph(0), bigDigitCgram()[0])
                << "the clock's shapes are in every controller";
        }
    }
}

// The views follow each frame that may change the panel, once, and no frame shown again; a
// banner written at the cursor is shown each time.
TEST(OnScreenPanel, TellsItsViewsOfEachNewFrameOnce) {
    OnScreenPanel panel(20, 2);
    int changes = 0;
    panel.setChangeListener([&changes] { ++changes; });
    panel.reset();
    const Frame frame = rowsFrame({"un", "deux"});
    panel.show(frame);
    panel.show(frame);
    EXPECT_EQ(changes, 2) << "the reset and the first frame";
    panel.show(rowsFrame({"un", "DEUX"}));
    panel.show(frame);
    EXPECT_EQ(changes, 4);
    EXPECT_EQ(panel.line(1).trimmed(), "deux");
    panel.reset();
    panel.show(Frame::banner("banniere"));
    panel.show(Frame::banner("!"));
    EXPECT_EQ(changes, 7);
    EXPECT_EQ(panel.line(0).trimmed(), QByteArray("banniere!"));
}

// A big-digit shape with a corner, on the second controller, as the panel holds it; then another
// written over it, which the window repaints by itself.
TEST(OnScreenPanel, TheWindowDrawsEveryDotOfACharacter) {
    OnScreenPanel panel(40, 4);
    panel.reset();
    LcdWidget widget(panel);
    panel.setChangeListener([&widget] { widget.modelChanged(); });
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    for (const char code : {'\x02', '\x05'}) {
        panel.show(rowsFrame({"", "", QByteArray(1, code)}));
        QCoreApplication::processEvents(); // the repaint asked for is done
        const QImage image = widget.screen()->grabWindow(widget.winId()).toImage();
        const std::array<quint8, 8> shape = panel.row(2).controller.glyph(code);
        for (int row = 0; row < 8; ++row) {
            for (int dot = 0; dot < 5; ++dot) {
                const QPoint centre = widget.dotRect(2, 0, row, dot).center().toPoint();
                EXPECT_EQ(image.pixelColor(centre),
                          LcdWidget::dotColour((shape[row] >> (4 - dot)) & 1))
                    << int(code) << ": " << row << "," << dot;
            }
        }
    }
    // Its backlight out, the glass is drawn darker; back on, as before.
    const QPoint dot = widget.dotRect(2, 0, 0, 0).center().toPoint();
    const auto colourAt = [&] {
        QCoreApplication::processEvents();
        return widget.screen()->grabWindow(widget.winId()).toImage().pixelColor(dot);
    };
    const QColor lit = colourAt();
    EXPECT_TRUE(panel.setBacklight(false));
    EXPECT_LT(colourAt().lightness(), lit.lightness());
    panel.setBacklight(true);
    EXPECT_EQ(colourAt(), lit);
}
