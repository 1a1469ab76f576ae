#include "about/SysInfoRegistry.h"

#include <QStandardPaths>

const QStringList SystemInfoRegistry::kPrograms = {QStringLiteral("hardinfo"),
                                                   QStringLiteral("kinfocenter"),
                                                   QStringLiteral("gnome-system-monitor")};

std::optional<QString> SystemInfoRegistry::value(quint32 root, const QString& keyName,
                                                 const QString& valueName) const {
    if (root != HKEY_LOCAL_MACHINE ||
        keyName.compare(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                        Qt::CaseInsensitive) != 0 ||
        valueName.compare(QStringLiteral("PATH"), Qt::CaseInsensitive) != 0) {
        return std::nullopt;
    }
    for (const QString& program : kPrograms) {
        const QString found = QStandardPaths::findExecutable(program, searchPath);
        if (!found.isEmpty()) {
            return found;
        }
    }
    return std::nullopt;
}
