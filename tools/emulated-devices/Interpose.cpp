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

// The mode argument, which only the calls that create a file pass.
mode_t modeArgument(int flags, va_list arguments) {
    const bool creates = (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE;
    return creates ? va_arg(arguments, mode_t) : 0;
}

// Runs `use` on the emulated device at `path`, if there is one.
template <typename Use> bool onEmulatedPath(const char* path, Use use) {
    if (!path) {
        return false;
    }
    Registry& r = registry();
    const std::lock_guard lock(r.mutex);
    const auto file = r.files.find(QString::fromUtf8(path));
    if (file == r.files.end()) {
        return false;
    }
    use(*file->second);
    return true;
}

// The descriptor of a new open file on the emulated device at `path`; false when the path is
// not emulated.
bool openEmulated(const char* path, int flags, int& fd) {
    return onEmulatedPath(path, [&](DeviceFile& device) {
        fd = openDescriptor(device.open(), device.number(), flags);
    });
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
    return onEmulatedPath(path, [&](DeviceFile& device) { describe(device.number(), buffer); });
}

template <typename Stat> bool fstatEmulated(int fd, Stat* buffer) {
    return onEmulated(fd, [&](OpenFile& file) { describe(file.number, buffer); });
}

template <typename Open> int openOr(const char* path, int flags, Open real) {
    int fd = -1;
    return openEmulated(path, flags, fd) ? fd : real();
}

} // namespace

int emulated::detail::openDescriptor(std::unique_ptr<Handle> handle, dev_t number, int flags) {
    const int fd = NEXT(open)("/dev/null", O_RDWR | (flags & O_CLOEXEC));
    if (fd >= 0) {
        Registry& r = registry();
        r.open[fd] = OpenFile{std::move(handle), number};
        ++r.openCount;
    }
    return fd;
}

INTERPOSED int open(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openOr(path, flags, [&] { return NEXT(open)(path, flags, mode); });
}

INTERPOSED int open64(const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
    return openOr(path, flags, [&] { return NEXT(open64)(path, flags, mode); });
}

INTERPOSED int openat(int directory, const char* path, int flags, ...) {
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = modeArgument(flags, arguments);
    va_end(arguments);
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
