#include "InstanceLock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::optional<InstanceLock> InstanceLock::acquire(const QString& path, int& error) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = errno;
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error = errno;
        ::close(fd);
        return std::nullopt;
    }
    error = 0;
    return InstanceLock(fd);
}

RuntimePath InstanceLock::defaultPath(const QString& name) {
    RuntimePath found = findRuntimeDir(name);
    if (!found.path.isEmpty()) {
        found.path += QStringLiteral("/%1.lock").arg(name);
    }
    return found;
}
