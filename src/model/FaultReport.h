#pragma once

#include "model/Log.h"

#include <QString>
#include <cstdio>
#include <utility>

// Whether a fault that recurs on every refresh (a missing port, an unreadable sensor block) has
// been told: it is told once, and again only after it has cleared in between, so that the user
// is not buried under the same message.
struct FaultLatch {
    bool told = false;

    // True the first time the fault is met since it last cleared: the caller tells it then.
    bool first() { return !std::exchange(told, true); }
    // The fault has gone; true when it had been told, so that its end is worth telling.
    bool clear() { return std::exchange(told, false); }
};

// A fault, or its end, in the log (brought into view) and on standard error after the program's
// name.
inline void reportFault(Log& log, const QString& line) {
    log.add(line);
    log.selectLast();
    std::fprintf(stderr, "relayeur: %s\n", line.toUtf8().constData());
    std::fflush(stderr);
}

// Tells `line` unless the fault has been told since it last cleared.
inline void reportOnce(FaultLatch& fault, Log& log, const QString& line) {
    if (fault.first()) {
        reportFault(log, line);
    }
}
