#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A POSIX shared-memory block mapped read-only; the mapping and the descriptor go with the object.
// Both outlive the block's name: once its producer has removed it, what it last wrote stays.
class SharedMemory {
public:
    // Maps the first `length` bytes of the block; nullopt when there is no such block or it
    // cannot be mapped. The block may be shorter, or even empty, for now.
    static std::optional<SharedMemory> openReadOnly(const QString& name, qsizetype length);
    // Whether a block of that name is published now.
    static bool exists(const QString& name);

    // A copy of the first `size` bytes of the mapping (fewer if the mapping or the block is
    // shorter); nullopt when the block cannot be read.
    std::optional<QByteArray> copy(qsizetype size) const;

    SharedMemory(SharedMemory&& other) noexcept;
    SharedMemory& operator=(SharedMemory&& other) noexcept;
    ~SharedMemory();

private:
    SharedMemory(FileDescriptor fd, const void* view, qsizetype length);
    FileDescriptor fd;
    const void* view = nullptr;
    qsizetype length = 0;
};
