#include "SharedLibrary.h"

#include <QFile>
#include <dlfcn.h>
#include <utility>

std::optional<SharedLibrary> SharedLibrary::open(const QStringList& candidates, bool keepMapped) {
    const int flags = RTLD_NOW | RTLD_LOCAL | (keepMapped ? RTLD_NODELETE : 0);
    for (const QString& candidate : candidates) {
        void* handle = ::dlopen(QFile::encodeName(candidate).constData(), flags);
        if (handle != nullptr) {
            return SharedLibrary(handle, candidate);
        }
    }
    return std::nullopt;
}

void* SharedLibrary::symbol(const char* name) const {
    return ::dlsym(handle, name);
}

SharedLibrary::SharedLibrary(SharedLibrary&& other) noexcept
    : handle(std::exchange(other.handle, nullptr)), loadedFrom(std::move(other.loadedFrom)) {}

SharedLibrary& SharedLibrary::operator=(SharedLibrary&& other) noexcept {
    std::swap(handle, other.handle);
    std::swap(loadedFrom, other.loadedFrom);
    return *this;
}

SharedLibrary::~SharedLibrary() {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
}
