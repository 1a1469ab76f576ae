#include "platform/RegionalFormat.h"

#include "platform/AnsiText.h"

#include <QRegularExpression>

namespace regional {

QByteArray number(double value, const QLocale& locale) {
    return ansi::fromUnicode(locale.toString(value, 'f', 2));
}

QByteArray generalNumber(double value, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return ansi::fromUnicode(plain.toString(value, 'g', 15));
}

QByteArray shortDate(const QDate& date, const QLocale& locale) {
    return ansi::fromUnicode(locale.toString(date, QLocale::ShortFormat));
}

QByteArray longTime(const QTime& time, const QLocale& locale) {
    // The long format may name the time zone ("t"); a time of day has none.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.replace(zone, QStringLiteral(" "));
    return ansi::fromUnicode(locale.toString(time, format.trimmed()));
}

} // namespace regional
