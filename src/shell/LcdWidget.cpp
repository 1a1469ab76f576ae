#include "shell/LcdWidget.h"

#include "drivers/Hd44780Font.h"
#include "drivers/OnScreenPanel.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <utility>

namespace {
constexpr int kDot = 3;     // size of one dot
constexpr int kPitch = 4;   // distance between dot centres, whole pixels so dots come out even
constexpr int kCellGap = 3; // between two characters of a line
constexpr int kLineGap = 6; // between two lines
constexpr int kMargin = 14; // backlit border around the characters
constexpr int kBezel = 6;   // dark frame around the glass
constexpr int kCellWidth = 4 * kPitch + kDot;
constexpr int kCellHeight = 7 * kPitch + kDot;

// A green backlit panel.
const QColor kBacklight(0x9c, 0xc8, 0x3c);
const QColor kDotOn(0x1c, 0x2e, 0x10);
const QColor kDotOff(0x90, 0xbb, 0x36);
const QColor kBezelColour(0x2a, 0x2a, 0x2a);
// Over the glass of a panel whose backlight is out.
const QColor kUnlitShade(0, 0, 0, 150);

// Never the look of a cell, which has 40 bits: a cell not painted yet.
constexpr quint64 kNotPainted = ~quint64(0);
} // namespace

LcdWidget::LcdWidget(const OnScreenPanel& panel, QWidget* parent)
    : QWidget(parent), panel(panel),
      painted(static_cast<std::size_t>(panel.lines() * panel.columns()), kNotPainted) {
    setObjectName(QStringLiteral("lcdScreen"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(tr("L'afficheur à l'écran"));
    // Every pixel is painted each time: Qt need not clear anything first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Each changed cell is a rectangle of its own, without the gaps around it: what goes to the
// display stays small enough for the X connection to take at once. A scrolling line sent whole
// filled it, and the program then waited for the server once more per refresh.
void LcdWidget::modelChanged() {
    if (std::exchange(litPainted, panel.backlit()) != panel.backlit()) {
        update(); // the whole glass, lit or dimmed
        return;
    }
    for (int line = 0; line < panel.lines(); ++line) {
        for (int column = 0; column < panel.columns(); ++column) {
            if (lookAt(line, column) != painted[line * panel.columns() + column]) {
                update(cellRect(line, column));
            }
        }
    }
}

LcdWidget::Look LcdWidget::lookAt(int line, int column) const {
    const auto [lcd, shown] = panel.row(line);
    if (!lcd.displayOn()) {
        return 0;
    }
    const quint8 code = lcd.codeAt(shown, column);
    const std::optional<int> slot = Hd44780::glyphSlot(code);
    std::array<quint8, 8> rows = slot ? lcd.glyph(*slot) : romGlyph(code, panel.rom());
    if (lcd.cursorOn() && lcd.cursorCell() == Hd44780::Cell{shown, column}) {
        rows[7] = 0x1F;
    }
    Look look = 0;
    for (int row = 0; row < 8; ++row) {
        look |= Look(rows[row] & 0x1F) << (5 * row);
    }
    return look;
}

const QPixmap& LcdWidget::pixmapOf(Look look) {
    const qreal ratio = devicePixelRatioF();
    if (ratio != drawnRatio) {
        drawn.clear();
        drawnRatio = ratio;
    }
    auto found = drawn.find(look);
    if (found == drawn.end()) {
        QPixmap cell(QSize(kCellWidth, kCellHeight) * ratio);
        cell.setDevicePixelRatio(ratio);
        cell.fill(kBacklight);
        QPainter p(&cell);
        for (int row = 0; row < 8; ++row) {
            for (int dot = 0; dot < 5; ++dot) {
                const bool lit = (look >> (5 * row + 4 - dot)) & 1;
                p.fillRect(QRectF(dot * kPitch, row * kPitch, kDot, kDot), dotColour(lit));
            }
        }
        found = drawn.insert(look, cell);
    }
    return *found;
}

QColor LcdWidget::dotColour(bool lit) {
    return lit ? kDotOn : kDotOff;
}

QSize LcdWidget::sizeHint() const {
    return QSize(2 * (kBezel + kMargin) + panel.columns() * (kCellWidth + kCellGap) - kCellGap,
                 2 * (kBezel + kMargin) + panel.lines() * (kCellHeight + kLineGap) - kLineGap);
}

QRect LcdWidget::cellRect(int line, int column) const {
    return QRect(kBezel + kMargin + column * (kCellWidth + kCellGap),
                 kBezel + kMargin + line * (kCellHeight + kLineGap), kCellWidth, kCellHeight);
}

QRectF LcdWidget::dotRect(int line, int column, int row, int dot) const {
    return QRectF(cellRect(line, column).topLeft() + QPointF(dot * kPitch, row * kPitch),
                  QSizeF(kDot, kDot));
}

// Only the cells in the region are drawn, each as one picture.
void LcdWidget::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRect all(QPoint(0, 0), sizeHint());
    p.fillRect(all, kBezelColour);
    p.fillRect(all.adjusted(kBezel, kBezel, -kBezel, -kBezel), kBacklight);
    const QRegion& region = event->region();
    for (int line = 0; line < panel.lines(); ++line) {
        for (int column = 0; column < panel.columns(); ++column) {
            const QRect cell = cellRect(line, column);
            if (!region.intersects(cell)) {
                continue;
            }
            const Look look = lookAt(line, column);
            p.drawPixmap(cell.topLeft(), pixmapOf(look));
            // A cell drawn in part may still show some of an older look.
            painted[line * panel.columns() + column] =
                region.intersected(cell) == QRegion(cell) ? look : kNotPainted;
        }
    }
    if (!panel.backlit()) {
        p.fillRect(all.adjusted(kBezel, kBezel, -kBezel, -kBezel), kUnlitShade);
    }
}

void LcdWidget::keyPressEvent(QKeyEvent* event) {
    static const QHash<int, QString> names{
        {Qt::Key_Up, QStringLiteral("Up")},         {Qt::Key_Down, QStringLiteral("Down")},
        {Qt::Key_Left, QStringLiteral("Left")},     {Qt::Key_Right, QStringLiteral("Right")},
        {Qt::Key_Return, QStringLiteral("Enter")},  {Qt::Key_Enter, QStringLiteral("Enter")},
        {Qt::Key_Escape, QStringLiteral("Escape")},
    };
    if (const auto name = names.find(event->key()); name != names.end()) {
        Q_EMIT keyPressed(*name);
        return;
    }
    QWidget::keyPressEvent(event);
}
