#include "profile/RecentProfiles.h"

#include "platform/USEINI.h"

QList<RecentEntry> RecentProfile(RecentProfiles& recent, const QString& settingsFile) {
    const IniFile ini = IniFile::load(settingsFile);
    QList<RecentEntry> entries;
    recent = RecentProfiles{};
    for (int i = 1; i <= kRecentCount; ++i) {
        const QString path = GetIni(ini, kRecentSection, QString::number(i), QString());
        if (!path.isEmpty()) {
            recent.paths[i] = path;
            entries.append({recentDisplayName(path), path});
        }
    }
    return entries;
}

bool PushRecentProfile(const QString& settingsFile, const QString& path) {
    IniFile ini = IniFile::load(settingsFile);
    for (int i = kRecentCount; i > 1; --i) {
        ini.setValue(kRecentSection, QString::number(i),
                     GetIni(ini, kRecentSection, QString::number(i - 1), QString()));
    }
    ini.setValue(kRecentSection, QStringLiteral("1"), path);
    return ini.save(settingsFile);
}

bool RaiseRecentProfile(const QString& settingsFile, const QString& path) {
    IniFile ini = IniFile::load(settingsFile);
    int at = 1;
    while (at <= kRecentCount &&
           GetIni(ini, kRecentSection, QString::number(at), QString()) != path) {
        ++at;
    }
    if (at > kRecentCount) {
        return PushRecentProfile(settingsFile, path);
    }
    for (int i = at; i > 1; --i) {
        ini.setValue(kRecentSection, QString::number(i),
                     GetIni(ini, kRecentSection, QString::number(i - 1), QString()));
    }
    ini.setValue(kRecentSection, QStringLiteral("1"), path);
    return ini.save(settingsFile);
}

QString recentDisplayName(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf('/'), path.lastIndexOf('\\'));
    const QString name = path.mid(cut + 1);
    return name.isEmpty() ? path : name;
}
