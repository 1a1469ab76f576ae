#include "shell/LcdWidget.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"

#include <QPainter>

namespace {
constexpr qreal kDot = 3.0;     // size of one dot
constexpr qreal kPitch = 4.0;   // distance between dot centres, whole pixels so dots come out even
constexpr qreal kCellGap = 3.0; // between two characters of a line
constexpr qreal kLineGap = 6.0; // between two lines
constexpr qreal kMargin = 14.0; // backlit border around the characters
constexpr qreal kBezel = 6.0;   // dark frame around the glass
constexpr qreal kCellWidth = 4 * kPitch + kDot;
constexpr qreal kCellHeight = 7 * kPitch + kDot;

// A green backlit panel.
const QColor kBacklight(0x9c, 0xc8, 0x3c);
const QColor kDotOn(0x1c, 0x2e, 0x10);
const QColor kDotOff(0x90, 0xbb, 0x36);
const QColor kBezelColour(0x2a, 0x2a, 0x2a);
} // namespace

LcdWidget::LcdWidget(const OnScreenPanel& panel, QWidget* parent) : QWidget(parent), panel(panel) {
    setObjectName(QStringLiteral("lcdScreen"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(QStringLiteral("L'afficheur à l'écran"));
    settle.setSingleShot(true);
    settle.setInterval(0);
    connect(&settle, &QTimer::timeout, this, &LcdWidget::repaintIfChanged);
}

void LcdWidget::modelChanged() {
    settle.start();
}

void LcdWidget::repaintIfChanged() {
    if (panel.appearance() != painted) {
        update();
    }
}

QColor LcdWidget::dotColour(bool lit) {
    return lit ? kDotOn : kDotOff;
}

QSize LcdWidget::sizeHint() const {
    const qreal width =
        2 * (kBezel + kMargin) + panel.columns() * (kCellWidth + kCellGap) - kCellGap;
    const qreal height =
        2 * (kBezel + kMargin) + panel.lines() * (kCellHeight + kLineGap) - kLineGap;
    return QSize(qCeil(width), qCeil(height));
}

QRectF LcdWidget::dotRect(int line, int column, int row, int dot) const {
    const qreal x = kBezel + kMargin + column * (kCellWidth + kCellGap) + dot * kPitch;
    const qreal y = kBezel + kMargin + line * (kCellHeight + kLineGap) + row * kPitch;
    return QRectF(x, y, kDot, kDot);
}

void LcdWidget::paintEvent(QPaintEvent*) {
    painted = panel.appearance();
    QPainter p(this);
    const QRectF all(QPointF(0, 0), QSizeF(sizeHint()));
    p.fillRect(all, kBezelColour);
    p.fillRect(all.adjusted(kBezel, kBezel, -kBezel, -kBezel), kBacklight);

    for (int line = 0; line < panel.lines(); ++line) {
        const auto [lcd, shown] = panel.row(line);
        const std::optional<Hd44780::Cell> cursor =
            lcd.cursorOn() ? lcd.cursorCell() : std::nullopt;
        for (int column = 0; column < panel.columns(); ++column) {
            const quint8 code = lcd.codeAt(shown, column);
            const std::optional<int> slot = Hd44780::glyphSlot(code);
            std::array<quint8, 8> rows = slot ? lcd.glyph(*slot) : romGlyph(code);
            if (!lcd.displayOn()) {
                rows.fill(0);
            } else if (cursor == Hd44780::Cell{shown, column}) {
                rows[7] = 0x1F;
            }
            for (int row = 0; row < 8; ++row) {
                for (int dot = 0; dot < 5; ++dot) {
                    const bool lit = (rows[row] >> (4 - dot)) & 1;
                    p.fillRect(dotRect(line, column, row, dot), dotColour(lit));
                }
            }
        }
    }
}
