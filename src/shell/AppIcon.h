#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>

// The program's icon: a small backlit character panel, drawn from a few rectangles, so that the
// window, the tray and the installed icon files all show the same picture.
QImage drawAppIcon(int size);
// The same picture as an SVG document, for the icon theme.
QByteArray appIconSvg();
QIcon appIcon();
