#include "shell/ListLog.h"

#include <QListWidget>

void ListLog::add(const QString& line) {
    list->addItem(line);
    if (echo) {
        echo(line);
    }
}

void ListLog::selectLast() {
    if (list->count() > 0) {
        list->setCurrentRow(list->count() - 1);
        list->scrollToBottom();
    }
}
