#pragma once

#include <QString>
#include <QStringList>

// What a first run, with no settings folder yet, prepared.
struct FirstRun {
    QStringList notes; // for the log: what was made, or what went wrong
    QString profile;   // the demo to load and start at once; empty when there is none
};

// Where the default settings and the example profiles are: installed in the share folder beside
// the program's bin folder, else in the source tree the program was built from.
QStringList defaultDataDirs(const QString& executableDir);

// Makes the settings folder with the default commented param.ini and the example profiles,
// which also fill the recent-profile list (the demo first).
FirstRun prepareFirstRun(const QString& settingsDir, const QStringList& dataDirs);
