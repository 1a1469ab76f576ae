#include "SettingsDir.h"

#include <QDir>
#include <QFileInfo>

QString userConfigDir(const QString& appName) {
    QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (configHome.isEmpty()) {
        configHome = QDir::homePath() + QStringLiteral("/.config");
    }
    return QDir(configHome).filePath(appName);
}

QString resolveSettingsDir(const QString& fromCommandLine, const QString& executableDir,
                           const QString& settingsFileName, const QString& appName) {
    if (!fromCommandLine.isEmpty()) {
        return QDir(fromCommandLine).absolutePath();
    }
    if (QFileInfo::exists(QDir(executableDir).filePath(settingsFileName))) {
        return QDir(executableDir).absolutePath();
    }
    return userConfigDir(appName);
}

SettingsSeed seedSettingsDir(const QString& settingsDir, const QStringList& dataDirs,
                             const QString& settingsFileName, const QStringList& patterns) {
    SettingsSeed seed;
    for (const QString& candidate : dataDirs) {
        if (QFileInfo::exists(QDir(candidate).filePath(settingsFileName))) {
            seed.from = QDir(candidate).absolutePath();
            break;
        }
    }
    if (!QDir().mkpath(settingsDir)) {
        seed.problem = QStringLiteral("impossible de créer ") + settingsDir;
        return seed;
    }
    if (seed.from.isEmpty()) {
        seed.problem = settingsFileName + QStringLiteral(" par défaut introuvable dans ") +
                       dataDirs.join(QStringLiteral(", "));
        return seed;
    }
    const QDir from(seed.from);
    QStringList names = from.entryList(patterns, QDir::Files, QDir::Name);
    names.removeAll(settingsFileName);
    names.prepend(settingsFileName);
    for (const QString& name : names) {
        const QString target = QDir(settingsDir).filePath(name);
        if (QFile::copy(from.filePath(name), target)) {
            // Installed files may be read-only; the user's copies are theirs to edit.
            QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                              QFile::ReadOther);
            seed.copied.append(target);
        } else if (seed.problem.isEmpty()) {
            seed.problem = QStringLiteral("impossible de copier ") + from.filePath(name) +
                           QStringLiteral(" dans ") + settingsDir;
        }
    }
    return seed;
}
