#pragma once

#include "model/Log.h"

class QListWidget;

// The log list of the main window; with echo on, every line also goes to standard output.
class ListLog : public Log {
public:
    ListLog(QListWidget* list, bool echo) : list(list), echo(echo) {}
    void add(const QString& line) override;
    void selectLast() override;

private:
    QListWidget* list;
    bool echo;
};
