#pragma once

#include <QString>
#include <QStringList>
#include <array>

inline constexpr int kRecentCount = 5;
// The section of param.ini that holds the list.
inline const QString kRecentSection = QStringLiteral("recent_profile");

// Paths of the recently opened profiles, newest first: index 1 to 5 as the keys of the
// [recent_profile] section of param.ini; index 0 is never filled.
struct RecentProfiles {
    std::array<QString, kRecentCount + 1> paths{};
};

struct RecentEntry {
    QString name; // what the recent list shows: the file name
    QString path; // what is loaded
};

// Reads the recent list from the settings file; one entry per non-empty key, newest first.
QList<RecentEntry> RecentProfile(RecentProfiles& recent, const QString& settingsFile);

// Puts `path` at the top of the recent list in the settings file; the oldest falls out.
// Returns false when the settings file could not be written.
bool PushRecentProfile(const QString& settingsFile, const QString& path);

// Moves `path` to the top of the recent list, the entries above it one place down; a path not in
// the list is pushed. Returns false when the settings file could not be written.
bool RaiseRecentProfile(const QString& settingsFile, const QString& path);

// The part of a path after its last separator ('/' or '\'); the whole path if it has none.
QString recentDisplayName(const QString& path);
