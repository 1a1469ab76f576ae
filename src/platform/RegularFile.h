#pragma once

#include "platform/FileDescriptor.h"

#include <QByteArray>
#include <QString>

// A regular file opened for reading, or nothing. A pipe or a device of that name is never opened,
// so that reading it cannot hold the caller up, nor release a program waiting at its other end.
// Reads go straight to the system: no read buffer, no look-up of the file's kind on every read.
class RegularFile {
public:
    explicit RegularFile(const QString& path);

    bool isOpen() const { return fd.get() >= 0; }
    // The size the file had when it was opened.
    qint64 size() const { return bytes; }
    // At most `count` bytes from `offset`: fewer at the end of the file, none past it.
    QByteArray read(qint64 offset, qint64 count) const;
    QByteArray readAll() const;

private:
    FileDescriptor fd;
    qint64 bytes = 0;
};

// Whether `path` names a regular file (or a link to one), looked up without opening it.
bool isRegularFile(const QString& path);
