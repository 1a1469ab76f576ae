#include "sources/hlcs.h"

#include "platform/RegionalFormat.h"
#include "sources/hlinfo.h"

#include <QDir>
#include <cmath>
#include <optional>

namespace {
constexpr char kLibraryName[] = "libhlinfo.so";
constexpr int kNotAvailable = -1;
constexpr qsizetype kNameLength = 25;
constexpr char kNoPlayerName[] = "-PlayerName-";

// The library's function `name`, typed after the shipped header; null when it is missing.
template <typename Function> Function* resolve(const HalfLifeLibrary& hl, const char* name) {
    return hl.library ? reinterpret_cast<Function*>(hl.library->symbol(name)) : nullptr;
}

std::optional<int> localPlayer(const HalfLifeLibrary& hl) {
    auto getLocalPlayerIndex = resolve<decltype(GetLocalPlayerIndex)>(hl, "GetLocalPlayerIndex");
    return getLocalPlayerIndex ? std::optional(getLocalPlayerIndex()) : std::nullopt;
}

template <typename Function> QByteArray figure(const HalfLifeLibrary& hl, const char* name) {
    auto get = resolve<Function>(hl, name);
    return QByteArray::number(get ? get() : 0);
}

template <typename Function> QByteArray playerFigure(const HalfLifeLibrary& hl, const char* name) {
    const std::optional<int> index = localPlayer(hl);
    auto get = resolve<Function>(hl, name);
    return QByteArray::number(index && get ? get(*index) : 0);
}

} // namespace

QStringList halfLifeLibraryCandidates(const QString& executableDir) {
    return {QDir(executableDir).filePath(kLibraryName), QString::fromLatin1(kLibraryName)};
}

int LoadInfoDllFrom(HalfLifeLibrary& hl, const QStringList& candidates,
                    const QByteArray& directory) {
    hl.library = SharedLibrary::open(candidates);
    if (!hl.library) {
        return kNotAvailable;
    }
    using LoadFunction = int (*)(char*);
    auto load = reinterpret_cast<LoadFunction>(hl.library->symbol("LoadInfoDllFrom"));
    if (load == nullptr) {
        return kNotAvailable;
    }
    QByteArray argument = directory; // the library may keep or change its copy
    return load(argument.data());
}

QByteArray HLPlayerName(const HalfLifeLibrary& hl) {
    const std::optional<int> index = localPlayer(hl);
    auto getPlayerName = resolve<decltype(GetPlayerName)>(hl, "GetPlayerName");
    if (!index || !getPlayerName) {
        return kNoPlayerName;
    }
    // The library is promised 25 characters; the room beyond them takes a longer name and its
    // NUL instead of whatever lies after the buffer, and is not read.
    QByteArray buffer(256, '\0');
    char* name = buffer.data();
    if (getPlayerName(*index, &name) == 0 || name == nullptr) {
        return kNoPlayerName;
    }
    // A library may also point at a text of its own rather than fill the buffer.
    QByteArray result = name == buffer.data() ? buffer.left(kNameLength)
                                              : QByteArray(name, qstrnlen(name, kNameLength));
    result.removeIf([](char c) { return c == '\0'; });
    return result;
}

QByteArray HLFrameRate(const HalfLifeLibrary& hl, const QLocale& locale) {
    auto getFrameRate = resolve<decltype(GetFrameRate)>(hl, "GetFrameRate");
    const double fps = getFrameRate ? getFrameRate() : 0.0;
    // Ten times a float is exact in a double, so 12.25 stays a true tie, which rint (in the
    // default rounding mode) settles on the even neighbour.
    return regional::generalNumber(std::rint(fps * 10.0) / 10.0, locale);
}

QByteArray HLPlayersSize(const HalfLifeLibrary& hl) {
    return figure<decltype(GetPlayersSize)>(hl, "GetPlayersSize");
}

QByteArray HLTeamsSize(const HalfLifeLibrary& hl) {
    return figure<decltype(GetTeamsSize)>(hl, "GetTeamsSize");
}

QByteArray HLPlayerKill(const HalfLifeLibrary& hl) {
    return playerFigure<decltype(GetPlayerKill)>(hl, "GetPlayerKill");
}

QByteArray HLPlayerDeaths(const HalfLifeLibrary& hl) {
    return playerFigure<decltype(GetPlayerDeaths)>(hl, "GetPlayerDeaths");
}
