#include "InstanceLock.h"

#include <QDir>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

std::optional<InstanceLock> InstanceLock::acquire(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::nullopt;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    return InstanceLock(fd);
}

QString InstanceLock::defaultPath(const QString& name) {
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty() || !QDir(dir).exists()) {
        dir = QDir::tempPath();
        return dir + QStringLiteral("/%1-%2.lock").arg(name).arg(::getuid());
    }
    return dir + QStringLiteral("/%1.lock").arg(name);
}
