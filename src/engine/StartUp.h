#pragma once

#include "engine/CommandLine.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBoxes.h"
#include "profile/LoadProfile.h"
#include "profile/RecentProfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

// What the terminal and the window share: the settings folder (made on a first run), the profile
// to show at once and whether to start it.
struct StartUp {
    QString settingsDir;
    QStringList notes;
    QString profile;
    bool start = false;
};

// executableDir is the folder of the relayeur the user ran, where a portable install keeps its
// param.ini and beside which the installed share folder is.
StartUp prepareStartUp(const CommandLineOptions& options, const QString& executableDir);

// With reprendre=1 and no profile asked for, the newest of the recent profiles, loaded and
// started as the user would open it from the list and press the button.
StartUp resumeLastProfile(StartUp plan, bool resume, const RecentProfiles& recent);

// Loads the profile of the command line, of a first run or of the recent list, and presses start
// when asked; a start that cannot happen is said on standard error with the reason.
template <typename Load, typename Start>
void showProfile(const StartUp& startUp, Load load, Start start) {
    if (startUp.profile.isEmpty()) {
        if (startUp.start) {
            std::fprintf(
                stderr, "relayeur: %s\n",
                QCoreApplication::translate("StartUp", "--start sans --profile : rien à envoyer")
                    .toLocal8Bit()
                    .constData());
        }
        return;
    }
    const QString path = QDir(startUp.profile).absolutePath();
    const LoadOutcome loaded = load(path);
    if (!startUp.start) {
        return;
    }
    if (!loaded) {
        std::fprintf(stderr, "relayeur: %s\n",
                     QCoreApplication::translate(
                         "StartUp", "le profil %1 n'a pas été chargé : %2 ; rien n'est envoyé")
                         .arg(path, loaded.refusal)
                         .toLocal8Bit()
                         .constData());
        return;
    }
    start();
}

// One copy per user. Without a runtime folder the program still runs; only a second copy goes
// unnoticed.
bool claimSingleCopy(std::optional<InstanceLock>& instance, MessageBoxes& boxes);

// The echo of --print-log: the line on standard output.
void printToStandardOutput(const QString& line);

// The program's own helpers (the window, the media-player module): beside the executable in a
// build folder, else in the private folder of an installation.
QStringList helperCandidates(const QString& executableDir, const QString& name);

// The window program is told the folder of the relayeur the user ran through this variable.
inline constexpr char kProgramDirVariable[] = "RELAYEUR_PROGRAM_DIR";
