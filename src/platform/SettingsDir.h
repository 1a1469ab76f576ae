#pragma once

#include <QString>

// Where the settings file lives: the directory given on the command line; else the
// executable's directory when it holds the settings file (a portable install); else
// $XDG_CONFIG_HOME/<app> (by default ~/.config/<app>).
QString resolveSettingsDir(const QString& fromCommandLine, const QString& executableDir,
                           const QString& settingsFileName, const QString& appName);
