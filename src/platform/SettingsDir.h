#pragma once

#include <QString>
#include <QStringList>

// The user's settings folder of `appName`: $XDG_CONFIG_HOME/<app>, by default ~/.config/<app>.
QString userConfigDir(const QString& appName);

// Where the settings file lives: the directory given on the command line; else the
// executable's directory when it holds the settings file (a portable install); else the user's
// settings folder.
QString resolveSettingsDir(const QString& fromCommandLine, const QString& executableDir,
                           const QString& settingsFileName, const QString& appName);

// What a first run put into a settings directory that did not exist yet.
struct SettingsSeed {
    QString from;       // the data directory the files came from
    QStringList copied; // the files copied, with their paths in the settings directory
    QString problem;    // why nothing or not everything was copied; empty when all went well
};

// Makes `settingsDir`, and the folder it lies in when that is missing too (mode 0700: the
// standard folder of settings, which a fresh account may lack), nothing higher; then copies into
// it, from the first of `dataDirs` that holds the settings file, that file and every file
// matching `patterns`. Nothing is overwritten.
SettingsSeed seedSettingsDir(const QString& settingsDir, const QStringList& dataDirs,
                             const QString& settingsFileName, const QStringList& patterns);
