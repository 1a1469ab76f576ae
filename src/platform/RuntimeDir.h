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

// What becomes of a folder of the user's that others may enter.
enum class OpenToOthers { Refuse, MakePrivate };

// Makes `path` a folder for `uid` alone (0700), or checks the one already there: it must be a
// real folder, no symbolic link, owned by `uid`. One open to others is refused, or its mode
// brought back to 0700 where it lies in a folder of the user's own. Returns what is wrong, or an
// empty text.
QString preparePrivateDir(const QString& path, uid_t uid, OpenToOthers open);

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
