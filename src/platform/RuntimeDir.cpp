#include "RuntimeDir.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString failure(const QString& path, int error) {
    return path + QStringLiteral(" : ") + QString::fromLocal8Bit(std::strerror(error));
}

// Why `path` cannot be the user's private folder, or an empty text when it can.
QString whyNotPrivate(const QString& path, uid_t uid) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0) {
        return failure(path, errno);
    }
    if (S_ISLNK(info.st_mode)) {
        return path + QStringLiteral(" est un lien symbolique");
    }
    if (!S_ISDIR(info.st_mode)) {
        return path + QStringLiteral(" n'est pas un dossier");
    }
    if (info.st_uid != uid) {
        return path + QStringLiteral(" appartient à un autre utilisateur");
    }
    if ((info.st_mode & 077) != 0) {
        return path + QStringLiteral(" est ouvert aux autres utilisateurs (droits %1)")
                          .arg(info.st_mode & 0777, 3, 8, QLatin1Char('0'));
    }
    return QString();
}

bool isDirOf(const QString& path, uid_t uid) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == uid;
}

} // namespace

RuntimeDirPlaces RuntimeDirPlaces::fromSystem() {
    const uid_t uid = ::getuid();
    return {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/run/user/%1").arg(uid),
            QStringLiteral("/tmp"), uid};
}

RuntimePath findRuntimeDir(const QString& app, const RuntimeDirPlaces& places) {
    const QString& xdg = places.xdgRuntimeDir;
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && QFileInfo(xdg).isDir()) {
        return {xdg, {}};
    }
    if (isDirOf(places.runUserDir, places.uid)) {
        return {places.runUserDir, {}};
    }
    const QString own = places.tempDir + QStringLiteral("/%1-%2").arg(app).arg(places.uid);
    if (::mkdir(QFile::encodeName(own).constData(), 0700) != 0 && errno != EEXIST) {
        return {{}, failure(own, errno)};
    }
    if (QString problem = whyNotPrivate(own, places.uid); !problem.isEmpty()) {
        return {{}, problem};
    }
    return {own, {}};
}
