#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <optional>

// What a bargraph line shows in place of a bar it cannot draw.
inline const QByteArray kBargraphError = QByteArrayLiteral("Erreur Bargraph     ");

// The bar of a line "low high value [label]" on a panel of `columns` columns, each full cell
// drawn as `plein` and each empty one as `vide`. The result may be longer than the panel (a
// value above the range, long cell texts); the caller cuts it.
QByteArray Bargraph(const QByteArray& text, int columns, const QByteArray& plein,
                    const QByteArray& vide, const QLocale& locale);

// A bargraph line cut where the bar cuts it: three tokens at single spaces, then the label.
struct BargraphParts {
    QByteArrayView low, high, value, label;
};
BargraphParts bargraphParts(QByteArrayView text);
// A token as the bar reads it: an optional sign, digits and a fraction after `decimalSeparator`,
// rounded half to even; nothing when it is no number or lies beyond 16 bits.
std::optional<qint16> bargraphNumber(QByteArrayView token, char decimalSeparator);
char bargraphDecimalSeparator(const QLocale& locale);
