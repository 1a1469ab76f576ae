#include "engine/StartUp.h"

#include "engine/Engine.h"
#include "engine/FirstRun.h"
#include "platform/SettingsDir.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

StartUp prepareStartUp(const CommandLineOptions& options, const QString& executableDir) {
    StartUp startUp;
    startUp.settingsDir = resolveSettingsDir(
        options.configDir, executableDir, QStringLiteral("param.ini"), QStringLiteral("relayeur"));
    // The installer of old put param.ini beside the program; here a first run makes the default
    // folder with it and the example profiles, and shows the demo. A folder named on the command
    // line is the user's own: never filled, nor made when it is missing, since that is most often
    // a typing mistake; the settings then read as missing.
    FirstRun firstRun;
    const QFileInfo dir(startUp.settingsDir);
    if (!options.configDir.isEmpty() && !dir.isDir()) {
        const QString note =
            (dir.exists() ? QCoreApplication::translate(
                                "StartUp", "Dossier de réglages %1 (--config-dir) : ce n'est pas "
                                           "un dossier, le programme démarre sans param.ini")
                          : QCoreApplication::translate(
                                "StartUp", "Dossier de réglages %1 (--config-dir) introuvable : "
                                           "il n'est pas créé, le programme démarre sans "
                                           "param.ini"))
                .arg(startUp.settingsDir);
        std::fprintf(stderr, "relayeur: %s\n", note.toUtf8().constData());
        startUp.notes.append(note);
    } else if (options.configDir.isEmpty() && !dir.exists()) {
        firstRun = prepareFirstRun(startUp.settingsDir, defaultDataDirs(executableDir));
        startUp.notes = firstRun.notes;
    }
    startUp.profile = options.profile.isEmpty() ? firstRun.profile : options.profile;
    startUp.start = options.start || (options.profile.isEmpty() && !firstRun.profile.isEmpty());
    return startUp;
}

StartUp resumeLastProfile(StartUp plan, bool resume, const RecentProfiles& recent) {
    if (!resume || !plan.profile.isEmpty()) {
        return plan;
    }
    // Index 0 is never filled; 1 is the newest.
    const auto newest = std::find_if(recent.paths.begin() + 1, recent.paths.end(),
                                     [](const QString& path) { return !path.isEmpty(); });
    if (newest != recent.paths.end()) {
        plan.profile = *newest;
        plan.start = true;
    }
    return plan;
}

bool claimSingleCopy(std::optional<InstanceLock>& instance, MessageBoxes& boxes) {
    const RuntimePath lockPath = InstanceLock::defaultPath(QStringLiteral("relayeur"));
    if (lockPath.path.isEmpty()) {
        std::fprintf(
            stderr, "relayeur: %s\n",
            QCoreApplication::translate("StartUp", "verrou de copie unique indisponible : %1")
                .arg(lockPath.problem)
                .toLocal8Bit()
                .constData());
        return true;
    }
    int error = 0;
    instance = InstanceLock::acquire(lockPath.path, error);
    if (!instance && error != EWOULDBLOCK) {
        // A lock file that cannot be made proves no other copy: the program runs without it.
        std::fprintf(
            stderr, "relayeur: %s\n",
            QCoreApplication::translate("StartUp", "verrou de copie unique indisponible : %1 : %2")
                .arg(lockPath.path, QString::fromLocal8Bit(std::strerror(error)))
                .toLocal8Bit()
                .constData());
        return true;
    }
    if (!instance) {
        boxes.show(kAppTitle,
                   QCoreApplication::translate("StartUp", "une copie de %1 est déja en cour "
                                                          "d'éxécution.")
                       .arg(kWindowCaption),
                   MessageIcon::Exclamation);
    }
    return instance.has_value();
}

void printToStandardOutput(const QString& line) {
    std::fprintf(stdout, "%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

QStringList helperCandidates(const QString& executableDir, const QString& name) {
    const QDir dir(executableDir);
    return {dir.filePath(name),
            QDir::cleanPath(dir.filePath(QStringLiteral(RELAYEUR_HELPERS_FROM_BIN "/") + name))};
}
