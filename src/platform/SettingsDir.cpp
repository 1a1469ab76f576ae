#include "SettingsDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

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

namespace {

QString makeFolder(const QString& path, mode_t mode) {
    if (::mkdir(QFile::encodeName(path).constData(), mode) == 0) {
        return {};
    }
    return QCoreApplication::translate("SettingsDir", "impossible de créer %1 : %2")
        .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
}

// What went wrong; empty when the folder was made.
QString makeSettingsFolder(const QString& settingsDir) {
    const QString parent = QFileInfo(settingsDir).absolutePath();
    if (!QFileInfo(parent).isDir()) {
        if (QString problem = makeFolder(parent, 0700); !problem.isEmpty()) {
            return problem;
        }
    }
    return makeFolder(settingsDir, 0777);
}

} // namespace

SettingsSeed seedSettingsDir(const QString& settingsDir, const QStringList& dataDirs,
                             const QString& settingsFileName, const QStringList& patterns) {
    SettingsSeed seed;
    for (const QString& candidate : dataDirs) {
        if (QFileInfo::exists(QDir(candidate).filePath(settingsFileName))) {
            seed.from = QDir(candidate).absolutePath();
            break;
        }
    }
    seed.problem = makeSettingsFolder(settingsDir);
    if (!seed.problem.isEmpty()) {
        return seed;
    }
    if (seed.from.isEmpty()) {
        seed.problem =
            QCoreApplication::translate("SettingsDir", "%1 par défaut introuvable dans %2")
                .arg(settingsFileName, dataDirs.join(QStringLiteral(", ")));
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
            seed.problem =
                QCoreApplication::translate("SettingsDir", "impossible de copier %1 dans %2")
                    .arg(from.filePath(name), settingsDir);
        }
    }
    return seed;
}
