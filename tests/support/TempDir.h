#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

// A fresh directory per test, with helpers to write a file in it byte for byte (its folders
// made as needed) and to read one back.
class TempDir {
public:
    QString path() const { return dir.path(); }
    QString file(const QString& name) const { return dir.filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        if (!QDir().mkpath(QFileInfo(f).path()) || !f.open(QIODevice::WriteOnly) ||
            f.write(bytes) != bytes.size()) {
            return QString();
        }
        return file(name);
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir dir;
};
