#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A POSIX shared-memory block opened read-only; the descriptor is closed with the object.
class SharedMemory {
public:
    static std::optional<SharedMemory> openReadOnly(const QString& name);

    // A copy of the first `size` bytes of the block (fewer if the block is shorter);
    // nullopt when the block cannot be read.
    std::optional<QByteArray> copy(qsizetype size) const;

private:
    explicit SharedMemory(int fd) : fd(fd) {}
    FileDescriptor fd;
};
