#include "SharedMemory.h"

#include <algorithm>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <utility>

std::optional<SharedMemory> SharedMemory::openReadOnly(const QString& name, qsizetype length) {
    FileDescriptor fd(::shm_open(name.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC, 0));
    if (fd.get() < 0 || length <= 0) {
        return std::nullopt;
    }
    void* view = ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED, fd.get(), 0);
    if (view == MAP_FAILED) {
        return std::nullopt;
    }
    return SharedMemory(std::move(fd), view, length);
}

bool SharedMemory::exists(const QString& name) {
    return FileDescriptor(::shm_open(name.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC, 0))
               .get() >= 0;
}

SharedMemory::SharedMemory(FileDescriptor fd, const void* view, qsizetype length)
    : fd(std::move(fd)), view(view), length(length) {}

SharedMemory::SharedMemory(SharedMemory&& other) noexcept
    : fd(std::move(other.fd)), view(std::exchange(other.view, nullptr)),
      length(std::exchange(other.length, 0)) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
    std::swap(fd, other.fd);
    std::swap(view, other.view);
    std::swap(length, other.length);
    return *this;
}

SharedMemory::~SharedMemory() {
    if (view != nullptr) {
        ::munmap(const_cast<void*>(view), static_cast<size_t>(length));
    }
}

std::optional<QByteArray> SharedMemory::copy(qsizetype size) const {
    // Touching a mapped page that lies wholly past the block's end kills the process with
    // SIGBUS, so the copy stops at the block's present size.
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        return std::nullopt;
    }
    const qsizetype n = std::min({size, length, static_cast<qsizetype>(st.st_size)});
    return QByteArray(static_cast<const char*>(view), std::max<qsizetype>(n, 0));
}
