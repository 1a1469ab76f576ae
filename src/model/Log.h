#pragma once

#include <QString>

// The log list of the main window: lines are added, then the newest one is brought into view.
class Log {
public:
    virtual ~Log() = default;
    virtual void add(const QString& line) = 0;
    virtual void selectLast() = 0;
};

inline const QString kLogSeparator = QString(49, QLatin1Char('-'));
