#include "shell/WidgetMessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

void WidgetMessageBoxes::show(const QString& title, const QString& text, MessageIcon icon) {
    QMessageBox::Icon qtIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::None:
        break;
    case MessageIcon::Information:
        qtIcon = QMessageBox::Information;
        break;
    case MessageIcon::Exclamation:
        qtIcon = QMessageBox::Warning;
        break;
    case MessageIcon::Critical:
        qtIcon = QMessageBox::Critical;
        break;
    }
    QMessageBox box(qtIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

int WidgetQuestionBoxes::ask(const QString& title, const QString& text,
                             const QStringList& answers) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QList<QPushButton*> buttons;
    for (const QString& answer : answers) {
        buttons.append(box.addButton(answer, QMessageBox::ActionRole));
    }
    if (buttons.isEmpty()) {
        return -1;
    }
    box.setDefaultButton(buttons.first());
    box.setEscapeButton(buttons.last());
    box.exec();
    return static_cast<int>(buttons.indexOf(qobject_cast<QPushButton*>(box.clickedButton())));
}
