#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocale>
#include <optional>

// What a bargraph line shows in place of a bar it cannot draw.
inline const QByteArray kBargraphError =
    QByteArrayLiteral("Erreur Bargraph     "); // texte du format

// The bar of a line "low high value [label]" on a panel of `columns` columns, each full cell
// drawn as `plein` and each empty one as `vide`. The result may be longer than the panel (a
// value above the range, long cell texts); the caller cuts it.
QByteArray Bargraph(const QByteArray& text, int columns, const QByteArray& plein,
                    const QByteArray& vide, const QLocale& locale);

// A bargraph line cut where the bar cuts it: three tokens, each up to the next space, which one
// space ends, then the label. The editor cuts its text (a QStringView) as the bar cuts bytes.
template <typename View> struct BargraphParts { View low, high, value, label; };
template <typename View> BargraphParts<View> bargraphParts(View text) {
    qsizetype pos = 0;
    const auto next = [&text, &pos]() -> View {
        if (pos >= text.size()) {
            return {};
        }
        qsizetype end = text.indexOf(' ', pos);
        if (end < 0) {
            end = text.size();
        }
        const View token = text.sliced(pos, end - pos);
        pos = end + 1;
        return token;
    };
    BargraphParts<View> parts{next(), next(), next(), {}}; // braces: evaluated in this order
    parts.label = pos < text.size() ? text.sliced(pos) : View();
    return parts;
}
// A token as the bar reads it: an optional sign, digits and a fraction after `decimalSeparator`,
// rounded half to even; nothing when it is no number or lies beyond 16 bits.
std::optional<qint16> bargraphNumber(QByteArrayView token, char decimalSeparator);
char bargraphDecimalSeparator(const QLocale& locale);
