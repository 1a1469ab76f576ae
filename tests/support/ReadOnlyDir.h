#pragma once

#include <QFile>
#include <QProcess>
#include <sys/stat.h>
#include <unistd.h>

// Makes a directory read-only for this user until the object goes: no file can be created,
// renamed or removed in it. Permissions stop an ordinary user; root, whom they do not stop, gets
// the immutable flag instead (chattr). `made()` is false when neither works (a file system
// without the flag): the test then cannot be run and must say so.
class ReadOnlyDir {
public:
    explicit ReadOnlyDir(const QString& path) : path(path), readOnly(makeReadOnly(true)) {}
    ReadOnlyDir(const ReadOnlyDir&) = delete;
    ReadOnlyDir& operator=(const ReadOnlyDir&) = delete;
    ~ReadOnlyDir() {
        if (readOnly) {
            makeReadOnly(false);
        }
    }

    bool made() const { return readOnly; }

private:
    bool makeReadOnly(bool on) const {
        if (::geteuid() == 0) {
            return QProcess::execute(QStringLiteral("chattr"), {on ? "+i" : "-i", path}) == 0;
        }
        return ::chmod(QFile::encodeName(path).constData(), on ? 0555 : 0755) == 0;
    }

    const QString path;
    const bool readOnly;
};
