#pragma once

#include <QByteArray>
#include <QLocale>

// What a bargraph line shows in place of a bar it cannot draw.
inline const QByteArray kBargraphError =
    QByteArrayLiteral("Erreur Bargraph     "); // texte du format

// The bar of a line "low high value [label]" on a panel of `columns` columns, each full cell
// drawn as `plein` and each empty one as `vide`. The result may be longer than the panel (a
// value above the range, long cell texts); the caller cuts it.
QByteArray Bargraph(const QByteArray& text, int columns, const QByteArray& plein,
                    const QByteArray& vide, const QLocale& locale);
