#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A library loaded with dlopen and unloaded with the object.
class SharedLibrary {
public:
    // Tries each candidate path (or bare name, searched on the library path) in turn. A library
    // kept mapped stays in memory once closed, for code whose state outlives the handle.
    static std::optional<SharedLibrary> open(const QStringList& candidates,
                                             bool keepMapped = false);

    void* symbol(const char* name) const;
    const QString& path() const { return loadedFrom; }

    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;
    ~SharedLibrary();

private:
    SharedLibrary(void* handle, QString path) : handle(handle), loadedFrom(std::move(path)) {}
    void* handle = nullptr;
    QString loadedFrom;
};
