#pragma once

#include "platform/SharedLibrary.h"

#include <QByteArray>
#include <QStringList>
#include <optional>

// The Half-Life statistics library, when one is installed.
struct HalfLifeLibrary {
    std::optional<SharedLibrary> library;
};

// Where the library is looked for: beside the executable, then on the library path.
QStringList halfLifeLibraryCandidates(const QString& executableDir);

// Loads the library and hands it the Half-Life directory. 0 means the statistics are
// available; any other value (the library or its function missing included) means not.
int LoadInfoDllFrom(HalfLifeLibrary& hl, const QStringList& candidates,
                    const QByteArray& directory);
