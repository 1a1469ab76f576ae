#pragma once

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>

// Numbers, dates and times as the user's regional settings write them, in the panel's
// character set.
namespace regional {

// Two decimals, the locale's separators and digit grouping: 256,00 or 1 024,50 in French.
QByteArray number(double value, const QLocale& locale);
// Up to 15 significant digits, no trailing zeros, no grouping: 45,5 in French.
QByteArray generalNumber(double value, const QLocale& locale);

// The date and the time of day as a locale writes them, asked for on every refresh: what stays
// the same from one refresh to the next is worked out once, the locale's time format while the
// locale stays, the time's text while the second does, the date's text while the day does.
class DateTimeTexts {
public:
    // The locale's short date: 04/12/2026 in French.
    QByteArray shortDate(const QDate& date, const QLocale& locale);
    // The locale's long time without its time-zone part: 21:13:08 in French.
    QByteArray longTime(const QTime& time, const QLocale& locale);

private:
    void follow(const QLocale& locale);

    bool known = false; // whether the texts below belong to `locale`
    QLocale locale;
    QString timeFormat;
    bool timeByTheSecond = false; // no milliseconds in the format: one text serves a second
    QTime second;
    QByteArray secondText;
    QDate day;
    QByteArray dayText;
};

} // namespace regional
