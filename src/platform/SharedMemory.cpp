#include "SharedMemory.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

std::optional<SharedMemory> SharedMemory::openReadOnly(const QString& name) {
    const int fd = ::shm_open(name.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        return std::nullopt;
    }
    return SharedMemory(fd);
}

std::optional<QByteArray> SharedMemory::copy(qsizetype size) const {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_size <= 0) {
        return std::nullopt;
    }
    const size_t length = static_cast<size_t>(st.st_size);
    void* view = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, fd, 0);
    if (view == MAP_FAILED) {
        return std::nullopt;
    }
    QByteArray bytes(static_cast<const char*>(view),
                     static_cast<qsizetype>(std::min(length, static_cast<size_t>(size))));
    ::munmap(view, length);
    return bytes;
}

SharedMemory::SharedMemory(SharedMemory&& other) noexcept : fd(std::exchange(other.fd, -1)) {}

SharedMemory& SharedMemory::operator=(SharedMemory&& other) noexcept {
    std::swap(fd, other.fd);
    return *this;
}

SharedMemory::~SharedMemory() {
    if (fd >= 0) {
        ::close(fd);
    }
}
