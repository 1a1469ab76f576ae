#pragma once

#include <QString>
#include <optional>

// Held for the whole run by the one running copy of the program. The lock belongs to the open
// file, so a copy that crashed leaves nothing behind that blocks the next start.
class InstanceLock {
public:
    static std::optional<InstanceLock> acquire(const QString& path);
    // The lock file of the user's running copy: in $XDG_RUNTIME_DIR, else in the temp dir.
    static QString defaultPath(const QString& name);

    InstanceLock(InstanceLock&& other) noexcept;
    InstanceLock& operator=(InstanceLock&& other) noexcept;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

private:
    explicit InstanceLock(int fd) : fd(fd) {}
    int fd = -1;
};
