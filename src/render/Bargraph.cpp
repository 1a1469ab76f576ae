#include "render/Bargraph.h"

#include "model/IsDigit.h"

#include <QVarLengthArray>
#include <cmath>
#include <limits>
#include <optional>

// The locale's decimal separator is what the regional numbers of the variables carry.
std::optional<qint16> bargraphNumber(QByteArrayView token, char decimalSeparator) {
    qsizetype i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
        ++i;
    }
    const qsizetype digitsStart = i;
    while (i < token.size() && isDigit(token[i])) {
        ++i;
    }
    if (i == digitsStart) {
        return std::nullopt;
    }
    if (i == token.size() && i - digitsStart <= 9) {
        // A whole number of a few digits, the usual bound or value, is exact without a double.
        qint64 whole = 0;
        for (qsizetype d = digitsStart; d < i; ++d) {
            whole = whole * 10 + (token[d] - '0');
        }
        whole = token[0] == '-' ? -whole : whole;
        if (whole < std::numeric_limits<qint16>::min() ||
            whole > std::numeric_limits<qint16>::max()) {
            return std::nullopt;
        }
        return static_cast<qint16>(whole);
    }
    // The number with a '.' for its separator, on the stack for any number a line can hold.
    QVarLengthArray<char, 64> normal(token.data(), token.data() + i);
    if (i < token.size() && token[i] == decimalSeparator) {
        const qsizetype fractionStart = ++i;
        while (i < token.size() && isDigit(token[i])) {
            ++i;
        }
        if (i == fractionStart) {
            return std::nullopt;
        }
        normal.append('.');
        normal.append(token.data() + fractionStart, i - fractionStart);
    }
    if (i != token.size()) {
        return std::nullopt;
    }
    // The default rounding mode: half to even.
    const double value = std::nearbyint(QByteArrayView(normal.data(), normal.size()).toDouble());
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}

char bargraphDecimalSeparator(const QLocale& locale) {
    const QString separator = locale.decimalPoint();
    return separator.size() == 1 ? separator[0].toLatin1() : '.';
}

namespace {

// Floor of a / b for b != 0.
qint64 floorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

QByteArray Bargraph(const QByteArray& text, int columns, const QByteArray& plein,
                    const QByteArray& vide, const QLocale& locale) {
    const BargraphParts parts = bargraphParts(QByteArrayView(text));
    const QByteArrayView label = parts.label;
    const char decimal = bargraphDecimalSeparator(locale);
    const std::optional<qint16> low = bargraphNumber(parts.low, decimal);
    const std::optional<qint16> high = bargraphNumber(parts.high, decimal);
    const std::optional<qint16> value = bargraphNumber(parts.value, decimal);
    if (!low || !high || !value) {
        return kBargraphError;
    }
    const int range = *high - *low;
    const int frame = label.isEmpty() ? 3 : 4;
    const qint64 cells = columns - label.size() - frame + 1;
    // Equal bounds, a single cell or a range beyond 16 bits leave no step to draw with.
    if (range == 0 || cells == 1 || range < std::numeric_limits<qint16>::min() ||
        range > std::numeric_limits<qint16>::max()) {
        return kBargraphError;
    }

    // The cells up to value / step + 1, with step = range / (cells - 1), counted exactly so that
    // a value at the top of the range fills every cell whatever the width.
    qint64 full = std::max<qint64>(0, floorDiv(qint64(*value) * (cells - 1), range) + 1);
    // Beyond the panel's width more cells would only be cut off.
    full = std::min<qint64>(full, std::max<qint64>(cells, columns) + 1);

    const qint64 empty = std::max<qint64>(0, cells - full);
    QByteArray bar;
    bar.reserve(label.size() + 3 + full * plein.size() + empty * vide.size());
    if (!label.isEmpty()) {
        bar.append(label).append(' ');
    }
    bar.append('[');
    for (qint64 cell = 0; cell < full; ++cell) {
        bar.append(plein);
    }
    for (qint64 cell = 0; cell < empty; ++cell) {
        bar.append(vide);
    }
    bar.append(']');
    return bar;
}
