#pragma once

#include <QFile>
#include <QString>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a directory read-only for this user until the object goes: no file can be created,
// renamed or removed in it. Permissions stop an ordinary user; root, whom they do not stop, gets
// the immutable flag instead. `made()` is false when neither works (a file system without the
// flag): the test then cannot be run and must say so.
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(const QString& path) : path(QFile::encodeName(path)) {
        if (::geteuid() != 0) {
            readOnly = ::chmod(this->path.constData(), 0555) == 0;
            return;
        }
        const int fd = ::open(this->path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            readOnly = immutable = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }
    ReadOnlyDir(const ReadOnlyDir&) = delete;
    ReadOnlyDir& operator=(const ReadOnlyDir&) = delete;
    ~ReadOnlyDir() {
        if (!readOnly) {
            return;
        }
        if (!immutable) {
            ::chmod(path.constData(), 0755);
            return;
        }
        const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0) {
            ::close(fd);
        }
    }

    bool made() const { return readOnly; }

private:
    QByteArray path;
    bool readOnly = false;
    bool immutable = false;
};
