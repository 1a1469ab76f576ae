#include "shell/AppIcon.h"

#include <QPainter>
#include <QPixmap>
#include <vector>

namespace {

// One rectangle of the icon, in sixteenths of its side.
struct Shape {
    QRectF rect;
    qreal radius;
    QColor colour;
};

std::vector<Shape> shapes() {
    std::vector<Shape> all = {{QRectF(0, 2, 16, 12), 2, QColor(0x30, 0x30, 0x30)},
                              {QRectF(1.5, 4, 13, 8), 0, QColor(0x9c, 0xc8, 0x3c)}};
    // Two rows of dark character cells.
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 4; ++col) {
            all.push_back(
                {QRectF(2.5 + col * 3, 5 + row * 3.5, 2, 2.5), 0, QColor(0x1e, 0x3a, 0x10)});
        }
    }
    return all;
}

} // namespace

QImage drawAppIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.scale(size / 16.0, size / 16.0);
    for (const Shape& shape : shapes()) {
        p.setBrush(shape.colour);
        p.drawRoundedRect(shape.rect, shape.radius, shape.radius);
    }
    return image;
}

QByteArray appIconSvg() {
    QByteArray svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"128\" height=\"128\" "
                     "viewBox=\"0 0 16 16\">\n";
    for (const Shape& shape : shapes()) {
        const QString corners =
            shape.radius > 0 ? QStringLiteral(" rx=\"%1\"").arg(shape.radius) : QString();
        svg +=
            QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\"%5 fill=\"%6\"/>\n")
                .arg(shape.rect.x())
                .arg(shape.rect.y())
                .arg(shape.rect.width())
                .arg(shape.rect.height())
                .arg(corners, shape.colour.name())
                .toUtf8();
    }
    return svg + "</svg>\n";
}

QIcon appIcon() {
    QIcon icon;
    for (int size : {16, 22, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(drawAppIcon(size)));
    }
    return icon;
}
