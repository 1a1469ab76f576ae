#include "SharedMemory.h"

#include <cstring>
#include <fcntl.h>
#include <sys/mman.h> // shm_open
#include <sys/stat.h>
#include <unistd.h>

std::optional<SharedMemory> SharedMemory::openReadOnly(const QString& name) {
    const int fd = ::shm_open(name.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC, 0);
    if (fd < 0) {
        return std::nullopt;
    }
    return SharedMemory(fd);
}

// A read of the block's first bytes gives the same copy as a mapping, without the cost of
// mapping and faulting in pages on every reading.
std::optional<QByteArray> SharedMemory::copy(qsizetype size) const {
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || st.st_size <= 0) {
        return std::nullopt;
    }
    QByteArray bytes(std::min<qsizetype>(size, st.st_size), Qt::Uninitialized);
    const ssize_t got = ::pread(fd.get(), bytes.data(), static_cast<size_t>(bytes.size()), 0);
    if (got < 0) {
        return std::nullopt;
    }
    bytes.truncate(got);
    return bytes;
}
