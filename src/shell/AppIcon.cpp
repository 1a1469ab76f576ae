#include "shell/AppIcon.h"

#include <QPainter>
#include <QPixmap>

namespace {

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal unit = size / 16.0;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0x30, 0x30));
    p.drawRoundedRect(QRectF(0, 2 * unit, 16 * unit, 12 * unit), 2 * unit, 2 * unit);
    p.setBrush(QColor(0x9c, 0xc8, 0x3c));
    p.drawRect(QRectF(1.5 * unit, 4 * unit, 13 * unit, 8 * unit));
    // Two rows of dark character cells.
    p.setBrush(QColor(0x1e, 0x3a, 0x10));
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col) {
            p.drawRect(
                QRectF((2.5 + col * 3) * unit, (5 + row * 3.5) * unit, 2 * unit, 2.5 * unit));
        }
    }
    return pixmap;
}

} // namespace

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) {
        icon.addPixmap(drawIcon(size));
    }
    return icon;
}
