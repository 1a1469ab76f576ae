#pragma once

#include "model/Log.h"

#include <functional>

class QListWidget;

// The log list of the main window; every line also goes to the echo, when there is one.
class ListLog : public Log {
public:
    using Echo = std::function<void(const QString&)>;
    ListLog(QListWidget* list, Echo echo) : list(list), echo(std::move(echo)) {}
    void add(const QString& line) override;
    void selectLast() override;

private:
    QListWidget* list;
    Echo echo;
};
