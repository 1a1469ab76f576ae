#include "platform/FolderEntries.h"

#include "platform/FileDescriptor.h"

#include <QFile>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

qint64 countNonFolderEntries(const QString& path, QByteArrayView prefix) {
    // Read straight from the system, a block of entries at a time into a buffer on the stack:
    // QDirIterator would look up the details of every entry, and opendir() allocates 32 KiB for
    // each listing, which a refresh makes twice.
    const FileDescriptor dir(::open(QFile::encodeName(path).constData(),
                                    O_RDONLY | O_NONBLOCK | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0) {
        return 0;
    }
    alignas(dirent64) char block[4096];
    qint64 count = 0;
    for (ssize_t got; (got = ::getdents64(dir.get(), block, sizeof block)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(block + at);
            at += entry->d_reclen;
            if (!QByteArrayView(entry->d_name).startsWith(prefix)) {
                continue;
            }
            bool folder = entry->d_type == DT_DIR;
            // A link is what it points to; some file systems leave the kind to be looked up.
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                struct stat target {};
                folder =
                    ::fstatat(dir.get(), entry->d_name, &target, 0) == 0 && S_ISDIR(target.st_mode);
            }
            count += folder ? 0 : 1;
        }
    }
    return count;
}
