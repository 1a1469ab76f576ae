#include "platform/RegionalFormat.h"

#include "platform/AnsiText.h"

#include <cmath>

namespace regional {

QByteArray number(double value, const QLocale& locale) {
    return ansi::fromUnicode(locale.toString(value, 'f', 2));
}

QByteArray generalNumber(double value, const QLocale& locale) {
    // Below 1000 there is nothing to group, so the locale serves as it is, unless it carries
    // options that change how a number is written; a copy of a locale costs an allocation.
    const QLocale::NumberOptions options = locale.numberOptions();
    const bool writesAsPlain =
        !(options & (QLocale::OmitLeadingZeroInExponent | QLocale::IncludeTrailingZeroesAfterDot));
    if (writesAsPlain && (std::abs(value) < 1000 || (options & QLocale::OmitGroupSeparator))) {
        return ansi::fromUnicode(locale.toString(value, 'g', 15));
    }
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return ansi::fromUnicode(plain.toString(value, 'g', 15));
}

namespace {

// A time format without its time-zone fields (a run of "t" standing as a word): each becomes one
// blank, with the blanks around it. Only ASCII letters, digits and '_' make words, and only the
// space and tab to CR are blanks, so that "(t)" leaves "( )".
QString withoutZone(const QString& format) {
    const auto word = [](QChar c) {
        return c == u'_' || (c.unicode() < 128 && c.isLetterOrNumber());
    };
    const auto blank = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    QString out;
    out.reserve(format.size());
    qsizetype kept = 0; // the blank a zone left is never taken back
    for (qsizetype i = 0; i < format.size();) {
        qsizetype end = i;
        while (end < format.size() && format[end] == u't') {
            ++end;
        }
        if (end == i) {
            out += format[i++];
            continue;
        }
        if ((i > 0 && word(format[i - 1])) || (end < format.size() && word(format[end]))) {
            out += QStringView(format).sliced(i, end - i);
        } else {
            while (out.size() > kept && blank(out.back())) {
                out.chop(1);
            }
            while (end < format.size() && blank(format[end])) {
                ++end;
            }
            out += u' ';
            kept = out.size();
        }
        i = end;
    }
    return out;
}

} // namespace

void DateTimeTexts::follow(const QLocale& wanted) {
    if (known && wanted == locale) {
        return;
    }
    locale = wanted;
    // The long format may name the time zone; a time of day has none.
    timeFormat = withoutZone(locale.timeFormat(QLocale::LongFormat)).trimmed();
    timeByTheSecond = !timeFormat.contains(u'z');
    second = QTime();
    day = QDate();
    known = true;
}

QByteArray DateTimeTexts::shortDate(const QDate& date, const QLocale& wanted) {
    follow(wanted);
    if (date != day) {
        dayText = ansi::fromUnicode(locale.toString(date, QLocale::ShortFormat));
        day = date;
    }
    return dayText;
}

QByteArray DateTimeTexts::longTime(const QTime& time, const QLocale& wanted) {
    follow(wanted);
    const QTime whole(time.hour(), time.minute(), time.second());
    if (!timeByTheSecond || !whole.isValid()) {
        return ansi::fromUnicode(locale.toString(time, timeFormat));
    }
    if (whole != second) {
        secondText = ansi::fromUnicode(locale.toString(whole, timeFormat));
        second = whole;
    }
    return secondText;
}

} // namespace regional
