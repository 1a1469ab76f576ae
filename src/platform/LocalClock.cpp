#include "platform/LocalClock.h"

#include <ctime>

QDateTime LocalClock::now() {
    timespec t{};
    clock_gettime(CLOCK_REALTIME, &t);
    return at(qint64(t.tv_sec) * 1000 + t.tv_nsec / 1000000);
}

QDateTime LocalClock::at(qint64 utcMsecs) {
    const qint64 thisMinute = utcMsecs >= 0 ? utcMsecs / 60000 : (utcMsecs + 1) / 60000 - 1;
    if (thisMinute != minute) {
        minute = thisMinute;
        // tzset() reads the zone again if the system's changed; localtime_r alone would not.
        tzset();
        const time_t start = static_cast<time_t>(thisMinute * 60);
        tm local{};
        offsetSeconds = localtime_r(&start, &local) ? static_cast<int>(local.tm_gmtoff) : 0;
    }
    return QDateTime::fromMSecsSinceEpoch(utcMsecs, Qt::OffsetFromUTC, offsetSeconds);
}
