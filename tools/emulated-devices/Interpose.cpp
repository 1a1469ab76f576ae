// The system calls a device file is used through, taken before the C library gets them: those on
// an emulated path or descriptor are served here, every other one goes on to the next definition,
// the C library's own.

#include "DeviceFiles.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace emulated::detail;

#define INTERPOSED extern "C" __attribute__((visibility("default")))

namespace {

// The definition the program would have reached without this library.
template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}
// Looked up once for each place that calls it.
#define NEXT(name)                                                                                 \
    ([] {                                                                                          \
        static const auto function = next<decltype(&name)>(#name);                                 \
        return function;                                                                           \
    }())

bool needsMode(int flags) {
    return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
}

// The descriptor of a new open file on the emulated device at `path`; false when the path is
// not emulated.
bool openEmulated(const char* path, int flags, int& fd) {
    if (!path) {
        return false;
    }
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto file = r.files.find(QString::fromUtf8(path));
    if (file == r.files.end()) {
        return false;
    }
    fd = openDescriptor(r, file->second->open(), file->second->number(), flags & O_CLOEXEC);
    return true;
}

// Runs `use` on the open file `fd` when it is emulated.
template <typename Use> bool onEmulated(int fd, Use use) {
    Registry& r = registry();
    if (r.openCount == 0) {
        return false;
    }
    const std::lock_guard lock(r.mutex);
    const auto file = r.open.find(fd);
    if (file == r.open.end()) {
        return false;
    }
    use(file->second);
    return true;
}

// What stat says of an emulated device: a character device the group may read and write.
template <typename Stat> void describe(dev_t number, Stat* buffer) {
    std::memset(buffer, 0, sizeof *buffer);
    buffer->st_mode = S_IFCHR | 0660;
    buffer->st_rdev = number;
    buffer->st_nlink = 1;
}

template <typename Stat> bool statEmulated(const char* path, Stat* buffer) {
    if (!path) {
        return false;
    }
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto file = r.files.find(QString::fromUtf8(path));
    if (file == r.files.end()) {
        return false;
    }
    describe(file->second->number(), buffer);
    return true;
}

template <typename Stat> bool fstatEmulated(int fd, Stat* buffer) {
    return onEmulated(fd, [&](OpenFile& file) { describe(file.number, buffer); });
}

template <typename Open> int openOr(const char* path, int flags, Open real) {
    int fd = -1;
    return openEmulated(path, flags, fd) ? fd : real();
}

} // namespace

// A real descriptor (of /dev/null), so that its number is never given to another file.
int emulated::detail::openDescriptor(Registry& r, std::unique_ptr<Handle> handle, dev_t number,
                                     bool closeOnExec) {
    const int fd = NEXT(open)("/dev/null", O_RDWR | (closeOnExec ? O_CLOEXEC : 0));
    if (fd >= 0) {
        r.open[fd] = OpenFile{std::move(handle), number};
        ++r.openCount;
    }
    return fd;
}

INTERPOSED int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    return openOr(path, flags, [&] { return NEXT(open)(path, flags, mode); });
}

INTERPOSED int open64(const char* path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    return openOr(path, flags, [&] { return NEXT(open64)(path, flags, mode); });
}

INTERPOSED int openat(int directory, const char* path, int flags, ...) {
    mode_t mode = 0;
    if (needsMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = va_arg(arguments, mode_t);
        va_end(arguments);
    }
    return openOr(path, flags, [&] { return NEXT(openat)(directory, path, flags, mode); });
}

INTERPOSED int __open_2(const char* path, int flags) {
    static const auto real = next<int (*)(const char*, int)>("__open_2");
    return openOr(path, flags, [&] { return real(path, flags); });
}

INTERPOSED int __open64_2(const char* path, int flags) {
    static const auto real = next<int (*)(const char*, int)>("__open64_2");
    return openOr(path, flags, [&] { return real(path, flags); });
}

INTERPOSED int close(int fd) {
    onEmulated(fd, [&](OpenFile&) {
        Registry& r = registry();
        r.open.erase(fd);
        --r.openCount;
    });
    return NEXT(close)(fd);
}

INTERPOSED ssize_t read(int fd, void* buffer, size_t size) {
    ssize_t result = 0;
    if (onEmulated(fd, [&](OpenFile& file) { result = file.handle->read(buffer, size); })) {
        return result;
    }
    return NEXT(read)(fd, buffer, size);
}

INTERPOSED ssize_t write(int fd, const void* buffer, size_t size) {
    ssize_t result = 0;
    if (onEmulated(fd, [&](OpenFile& file) { result = file.handle->write(buffer, size); })) {
        return result;
    }
    return NEXT(write)(fd, buffer, size);
}

INTERPOSED int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    int result = 0;
    if (onEmulated(fd, [&](OpenFile& file) { result = file.handle->ioctl(request, argument); })) {
        return result;
    }
    return NEXT(ioctl)(fd, request, argument);
}

INTERPOSED int stat(const char* path, struct stat* buffer) noexcept {
    return statEmulated(path, buffer) ? 0 : NEXT(stat)(path, buffer);
}

INTERPOSED int stat64(const char* path, struct stat64* buffer) noexcept {
    return statEmulated(path, buffer) ? 0 : NEXT(stat64)(path, buffer);
}

INTERPOSED int lstat(const char* path, struct stat* buffer) noexcept {
    return statEmulated(path, buffer) ? 0 : NEXT(lstat)(path, buffer);
}

INTERPOSED int lstat64(const char* path, struct stat64* buffer) noexcept {
    return statEmulated(path, buffer) ? 0 : NEXT(lstat64)(path, buffer);
}

INTERPOSED int fstat(int fd, struct stat* buffer) noexcept {
    return fstatEmulated(fd, buffer) ? 0 : NEXT(fstat)(fd, buffer);
}

INTERPOSED int fstat64(int fd, struct stat64* buffer) noexcept {
    return fstatEmulated(fd, buffer) ? 0 : NEXT(fstat64)(fd, buffer);
}

INTERPOSED int access(const char* path, int mode) noexcept {
    struct stat found;
    return statEmulated(path, &found) ? 0 : NEXT(access)(path, mode);
}
