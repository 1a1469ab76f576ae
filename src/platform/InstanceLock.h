#pragma once

#include "platform/FileDescriptor.h"

#include <QString>
#include <optional>

// Held for the whole run by the one running copy of the program. The lock belongs to the open
// file, so a copy that crashed leaves nothing behind that blocks the next start.
class InstanceLock {
public:
    static std::optional<InstanceLock> acquire(const QString& path);
    // The lock file of the user's running copy: in $XDG_RUNTIME_DIR, else in the temp dir.
    static QString defaultPath(const QString& name);

private:
    explicit InstanceLock(int fd) : fd(fd) {}
    FileDescriptor fd;
};
