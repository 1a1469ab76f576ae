#pragma once

#include <QDateTime>
#include <limits>

// The local date and time, read without having the C library look at the time-zone file on every
// read, as QDateTime::currentDateTime does (one stat of /etc/localtime each time). The zone's
// offset from UTC is looked up once a minute, at the first read of each new minute: summer time
// begins and ends at the turn of a minute, so every time read is exact, and a change of the
// system's time zone shows from the next minute.
class LocalClock {
public:
    QDateTime now();
    // The local date and time of an instant, in milliseconds since 1970 UTC.
    QDateTime at(qint64 utcMsecs);

private:
    qint64 minute = std::numeric_limits<qint64>::min(); // the minute the offset was looked up for
    int offsetSeconds = 0;
};
