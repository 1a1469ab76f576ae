#pragma once

#include <QString>
#include <sys/types.h>

// The places the user's runtime folder may be. fromSystem() reads them from this process; a
// test gives its own.
struct RuntimeDirPlaces {
    QString xdgRuntimeDir; // $XDG_RUNTIME_DIR, empty when unset
    QString runUserDir;    // /run/user/<uid>
    QString tempDir;       // /tmp
    uid_t uid = 0;

    static RuntimeDirPlaces fromSystem();
};

// A path in the runtime folder, or why there is none.
struct RuntimePath {
    QString path;    // empty when there is none
    QString problem; // what is wrong, for the user, when path is empty
};

// The user's runtime folder, the same whether a program is started from the desktop session,
// from cron or over ssh, so that its copies find each other: $XDG_RUNTIME_DIR when it names a
// directory; else /run/user/<uid> when it is a directory of the user; else <app>-<uid> in /tmp,
// made 0700 when missing. That last one lies where anyone may write first: it is refused when it
// is a symbolic link, no directory, another user's, or open to others.
RuntimePath findRuntimeDir(const QString& app,
                           const RuntimeDirPlaces& places = RuntimeDirPlaces::fromSystem());
