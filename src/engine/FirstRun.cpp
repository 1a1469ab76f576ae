#include "engine/FirstRun.h"

#include "platform/IniFile.h"
#include "platform/SettingsDir.h"
#include "profile/RecentProfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {
const QString kSettingsFile = QStringLiteral("param.ini");
const QString kDemo = QStringLiteral("demo.tlcd");
} // namespace

QStringList defaultDataDirs(const QString& executableDir) {
    return {QDir(executableDir).filePath(QStringLiteral("../share/relayeur")),
            QStringLiteral(RELAYEUR_EXAMPLES_DIR)};
}

FirstRun prepareFirstRun(const QString& settingsDir, const QStringList& dataDirs) {
    FirstRun run;
    const SettingsSeed seed =
        seedSettingsDir(settingsDir, dataDirs, kSettingsFile, {QStringLiteral("*.tlcd")});
    if (!seed.copied.isEmpty()) {
        run.notes.append(QCoreApplication::translate("FirstRun",
                                                     "Premier lancement : %1 créé avec les "
                                                     "réglages et les profils d'exemple de %2")
                             .arg(settingsDir, seed.from));
    }
    if (!seed.problem.isEmpty()) {
        run.notes.append(
            QCoreApplication::translate("FirstRun", "Premier lancement : %1").arg(seed.problem));
    }

    QStringList profiles = seed.copied.filter(QStringLiteral(".tlcd"));
    const auto demo = std::find_if(profiles.begin(), profiles.end(), [](const QString& path) {
        return QFileInfo(path).fileName() == kDemo;
    });
    if (demo != profiles.end()) {
        run.profile = *demo;
        std::rotate(profiles.begin(), demo, demo + 1);
    }
    if (profiles.isEmpty()) {
        return run;
    }
    const QString settingsFile = QDir(settingsDir).filePath(kSettingsFile);
    IniFile settings = IniFile::load(settingsFile);
    for (int i = 0; i < kRecentCount && i < profiles.size(); ++i) {
        settings.setValue(kRecentSection, QString::number(i + 1), profiles[i]);
    }
    if (!settings.save(settingsFile)) {
        run.notes.append(QCoreApplication::translate("FirstRun",
                                                     "Premier lancement : impossible d'écrire la "
                                                     "liste des profils récents dans %1")
                             .arg(settingsFile));
    }
    return run;
}
