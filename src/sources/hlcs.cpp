#include "sources/hlcs.h"

#include <QDir>

namespace {
constexpr char kLibraryName[] = "libhlinfo.so";
constexpr int kNotAvailable = -1;
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
