#include "shell/VariableMenu.h"

#include "engine/PagePreview.h"
#include "platform/AnsiText.h"
#include "render/VariableCatalogue.h"

#include <QCoreApplication>
#include <QMenu>
#include <optional>

void fillVariableMenu(QMenu& menu, const Engine& engine,
                      const std::function<void(const QString&)>& chosen) {
    menu.clear();
    QMenu* group = nullptr;
    std::optional<VariableGroup> groupShown;
    for (const CatalogueVariable& variable : variableCatalogue()) {
        if (groupShown != variable.group) {
            groupShown = variable.group;
            group = menu.addMenu(groupLabel(variable.group));
            QObject::connect(group, &QMenu::triggered, group,
                             [chosen](QAction* entry) { chosen(entry->data().toString()); });
        }
        const QString value = ansi::toUnicode(currentValue(engine, variable.name.toLatin1()));
        QString entry = QCoreApplication::translate("VariableMenu", "%1 — %2 : %3")
                            .arg(variable.name, variable.label, value);
        // A value is shown as it is: an ampersand in it is no mnemonic.
        entry.replace(QLatin1Char('&'), QStringLiteral("&&"));
        group->addAction(entry)->setData(variable.name);
    }
}
