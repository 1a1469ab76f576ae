#pragma once

#include "model/Log.h"

#include <QStringList>

// Keeps the log lines in memory, and how many lines were there at each selectLast.
class FakeLog : public Log {
public:
    void add(const QString& line) override { lines.append(line); }
    void selectLast() override { selections.append(static_cast<int>(lines.size())); }

    QStringList lines;
    QList<int> selections;
};
