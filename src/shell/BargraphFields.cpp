#include "shell/BargraphFields.h"

BargraphFields splitBargraph(const QString& text) {
    qsizetype at = 0;
    const auto token = [&text, &at] {
        if (at >= text.size()) {
            return QString();
        }
        const qsizetype space = text.indexOf(QLatin1Char(' '), at);
        const qsizetype end = space < 0 ? text.size() : space;
        const QString part = text.mid(at, end - at);
        at = end + 1;
        return part;
    };
    BargraphFields fields;
    fields.low = token();
    fields.high = token();
    fields.value = token();
    fields.label = at < text.size() ? text.mid(at) : QString();
    return fields;
}

QString composeBargraph(const BargraphFields& fields) {
    QString text = fields.low + QLatin1Char(' ') + fields.high + QLatin1Char(' ') + fields.value;
    if (!fields.label.isEmpty()) {
        text += QLatin1Char(' ') + fields.label;
    }
    return text;
}
