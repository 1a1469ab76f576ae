#pragma once

#include "platform/FileDescriptor.h"
#include "platform/RuntimeDir.h"

#include <QString>
#include <optional>

// Held for the whole run by the one running copy of the program. The lock belongs to the open
// file, so a copy that crashed leaves nothing behind that blocks the next start.
class InstanceLock {
public:
    // The lock, or nothing, with `error` set to EWOULDBLOCK when another copy holds it and to
    // why the lock file would not open otherwise.
    static std::optional<InstanceLock> acquire(const QString& path, int& error);
    // The lock file <name>.lock of the user's running copy, in the runtime folder.
    static RuntimePath defaultPath(const QString& name);

private:
    explicit InstanceLock(int fd) : fd(fd) {}
    FileDescriptor fd;
};
