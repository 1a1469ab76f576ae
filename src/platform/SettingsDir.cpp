#include "SettingsDir.h"

#include <QDir>
#include <QFileInfo>

QString resolveSettingsDir(const QString& fromCommandLine, const QString& executableDir,
                           const QString& settingsFileName, const QString& appName) {
    if (!fromCommandLine.isEmpty()) {
        return QDir(fromCommandLine).absolutePath();
    }
    if (QFileInfo::exists(QDir(executableDir).filePath(settingsFileName))) {
        return QDir(executableDir).absolutePath();
    }
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty()) {
        configHome = QDir::homePath() + QStringLiteral("/.config");
    }
    return QDir(configHome).filePath(appName);
}
