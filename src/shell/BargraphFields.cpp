#include "shell/BargraphFields.h"

#include "render/Bargraph.h"

BargraphFields splitBargraph(const QString& text) {
    const BargraphParts parts = bargraphParts(QStringView(text));
    return {parts.low.toString(), parts.high.toString(), parts.value.toString(),
            parts.label.toString()};
}

QString composeBargraph(const BargraphFields& fields) {
    QString text = fields.low + QLatin1Char(' ') + fields.high + QLatin1Char(' ') + fields.value;
    if (!fields.label.isEmpty()) {
        text += QLatin1Char(' ') + fields.label;
    }
    return text;
}
