#pragma once

#include "platform/SharedLibrary.h"

#include <QByteArray>
#include <QLocale>
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

// The figures of the six Half-Life variables, asked of the library on every call. A function the
// library lacks (or no library at all) gives the text of a failed query: "-PlayerName-" for the
// name, 0 for the figures.

// The local player's name: at most 25 characters, its NULs removed.
QByteArray HLPlayerName(const HalfLifeLibrary& hl);
// Frames per second to one decimal, halves to the even neighbour, without trailing zeros and
// with the locale's decimal separator: 72,5 or 60 in French.
QByteArray HLFrameRate(const HalfLifeLibrary& hl, const QLocale& locale);
QByteArray HLPlayersSize(const HalfLifeLibrary& hl);
QByteArray HLTeamsSize(const HalfLifeLibrary& hl);
// The local player's kills and deaths; each call asks the library for the player again.
QByteArray HLPlayerKill(const HalfLifeLibrary& hl);
QByteArray HLPlayerDeaths(const HalfLifeLibrary& hl);
