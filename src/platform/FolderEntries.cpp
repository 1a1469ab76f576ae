#include "platform/FolderEntries.h"

#include <QFile>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

qint64 countNonFolderEntries(const QString& path, QByteArrayView prefix) {
    // Read straight from the system: QDirIterator would look up the details of every entry.
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(QFile::encodeName(path).constData()),
                                                  ::closedir);
    if (!dir) {
        return 0;
    }
    qint64 count = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!QByteArrayView(entry->d_name).startsWith(prefix)) {
            continue;
        }
        bool folder = entry->d_type == DT_DIR;
        // A link is what it points to; some file systems leave the kind to be looked up.
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target {};
            folder = ::fstatat(::dirfd(dir.get()), entry->d_name, &target, 0) == 0 &&
                     S_ISDIR(target.st_mode);
        }
        count += folder ? 0 : 1;
    }
    return count;
}
