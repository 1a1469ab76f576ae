#include "platform/RegularFile.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <sys/stat.h>

RegularFile::RegularFile(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat before {};
    // The kind is looked up by name first: opening a pipe would already reach its writer.
    if (::stat(name.constData(), &before) != 0 || !S_ISREG(before.st_mode)) {
        return;
    }
    // Non-blocking, and checked again once open, in case the name changed hands in between.
    FileDescriptor opened(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat now {};
    if (opened.get() < 0 || ::fstat(opened.get(), &now) != 0 || !S_ISREG(now.st_mode)) {
        return;
    }
    fd = std::move(opened);
    bytes = now.st_size;
}

bool isRegularFile(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QByteArray RegularFile::read(qint64 offset, qint64 count) const {
    QByteArray data;
    if (!isOpen() || offset < 0 || count <= 0) {
        return data;
    }
    // Room for what the file held when it was opened and a byte more, to see whether it grew
    // since: a short file is not read into a buffer as large as the count.
    data.resize(std::clamp(bytes - offset + 1, qint64(1), count));
    qint64 got = 0;
    while (got < count) {
        if (got == data.size()) {
            data.resize(std::min(count, 2 * data.size()));
        }
        const ssize_t n =
            ::pread(fd.get(), data.data() + got, size_t(data.size() - got), offset + got);
        if (n <= 0) {
            break;
        }
        got += n;
    }
    data.truncate(got);
    return data;
}

QByteArray RegularFile::readAll() const {
    QByteArray data = read(0, bytes);
    // A file that grew since it was opened is read to its end.
    char block[4096];
    for (ssize_t n; isOpen() && (n = ::pread(fd.get(), block, sizeof block, data.size())) > 0;) {
        data.append(block, n);
    }
    return data;
}
