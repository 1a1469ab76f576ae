#include "RuntimeDir.h"

#include <QCoreApplication>
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

bool isDirOf(const QString& path, uid_t uid) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == uid;
}

} // namespace

QString preparePrivateDir(const QString& path, uid_t uid, OpenToOthers open) {
    const QByteArray file = QFile::encodeName(path);
    if (::mkdir(file.constData(), 0700) != 0 && errno != EEXIST) {
        return failure(path, errno);
    }
    // The folder may have been there before, made by anyone where others may write.
    struct stat info {};
    if (::lstat(file.constData(), &info) != 0) {
        return failure(path, errno);
    }
    if (S_ISLNK(info.st_mode)) {
        return QCoreApplication::translate("RuntimeDir", "%1 est un lien symbolique").arg(path);
    }
    if (!S_ISDIR(info.st_mode)) {
        return QCoreApplication::translate("RuntimeDir", "%1 n'est pas un dossier").arg(path);
    }
    if (info.st_uid != uid) {
        return QCoreApplication::translate("RuntimeDir", "%1 appartient à un autre utilisateur")
            .arg(path);
    }
    if (open == OpenToOthers::Refuse && (info.st_mode & 077) != 0) {
        return QCoreApplication::translate("RuntimeDir",
                                           "%1 est ouvert aux autres utilisateurs (droits %2)")
            .arg(path, QStringLiteral("%1").arg(info.st_mode & 0777, 3, 8, QLatin1Char('0')));
    }
    if (open == OpenToOthers::MakePrivate && (info.st_mode & 07777) != 0700 &&
        ::chmod(file.constData(), 0700) != 0) {
        return failure(path, errno);
    }
    return QString();
}

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
    // Anyone may have made it first, so it is taken only as the user's alone.
    const QString own = places.tempDir + QStringLiteral("/%1-%2").arg(app).arg(places.uid);
    if (QString problem = preparePrivateDir(own, places.uid, OpenToOthers::Refuse);
        !problem.isEmpty()) {
        return {{}, problem};
    }
    return {own, {}};
}
