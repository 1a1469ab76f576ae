#include "render/Bargraph.h"

#include "model/IsDigit.h"

#include <cmath>
#include <limits>
#include <optional>

namespace {

// The run of characters from `pos` up to the next space; `pos` moves past that one space.
QByteArray nextToken(const QByteArray& text, qsizetype& pos) {
    if (pos >= text.size()) {
        return {};
    }
    qsizetype end = text.indexOf(' ', pos);
    if (end < 0) {
        end = text.size();
    }
    const QByteArray token = text.mid(pos, end - pos);
    pos = end + 1;
    return token;
}

// An optional sign, digits, and an optional fraction (digits) after the locale's decimal separator,
// which is what the regional numbers of the variables carry. Rounded half to even into the 16-bit
// range.
std::optional<qint16> parseNumber(const QByteArray& token, char decimalSeparator) {
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
    QByteArray normal = token.left(i);
    if (i < token.size() && token[i] == decimalSeparator) {
        const qsizetype fractionStart = ++i;
        while (i < token.size() && isDigit(token[i])) {
            ++i;
        }
        if (i == fractionStart) {
            return std::nullopt;
        }
        normal += '.' + token.mid(fractionStart, i - fractionStart);
    }
    if (i != token.size()) {
        return std::nullopt;
    }
    const double value = std::nearbyint(normal.toDouble()); // the default mode: half to even
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max()) {
        return std::nullopt;
    }
    return static_cast<qint16>(value);
}

// Floor of a / b for b != 0.
qint64 floorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

QByteArray Bargraph(const QByteArray& text, int columns, const QByteArray& plein,
                    const QByteArray& vide, const QLocale& locale) {
    qsizetype pos = 0;
    const QByteArray lowToken = nextToken(text, pos);
    const QByteArray highToken = nextToken(text, pos);
    const QByteArray valueToken = nextToken(text, pos);
    const QByteArray label = pos < text.size() ? text.mid(pos) : QByteArray();

    const QString separator = locale.decimalPoint();
    const char decimal = separator.size() == 1 ? separator[0].toLatin1() : '.';
    const std::optional<qint16> low = parseNumber(lowToken, decimal);
    const std::optional<qint16> high = parseNumber(highToken, decimal);
    const std::optional<qint16> value = parseNumber(valueToken, decimal);
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

    QByteArray bar = label.isEmpty() ? QByteArray("[") : label + " [";
    bar += plein.repeated(full);
    if (cells - full > 0) {
        bar += vide.repeated(cells - full);
    }
    bar += ']';
    return bar;
}
