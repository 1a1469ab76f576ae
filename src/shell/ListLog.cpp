#include "shell/ListLog.h"

#include <QAbstractItemDelegate>
#include <QListWidget>
#include <QStyleOptionViewItem>

namespace {

// The list shows the last thousand lines; the echo, when there is one, has them all. A list that
// only grew would take memory for as long as the program runs.
constexpr int kKeptLines = 1000;

} // namespace

void ListLog::add(const QString& line) {
    auto* item = new QListWidgetItem(line);
    list->addItem(item);
    // Each line is measured once, as it comes: a line without its size would have the list
    // measure every line again, with its text laid out, each time one is added.
    QStyleOptionViewItem option;
    option.initFrom(list);
    option.widget = list;
    option.font = list->font();
    option.fontMetrics = list->fontMetrics();
    item->setSizeHint(list->itemDelegate()->sizeHint(option, list->indexFromItem(item)));
    while (list->count() > kKeptLines) {
        delete list->takeItem(0);
    }
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
