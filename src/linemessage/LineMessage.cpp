#include "linemessage/LineMessage.h"

#include "model/IsDigit.h"

#include <QFile>
#include <QtEndian>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace linemessage {
namespace {

QByteArray le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

quint32 readLe32(const QByteArray& bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

} // namespace

QByteArray encode(quint32 dwData, const QByteArray& data) {
    return le32(dwData) + le32(static_cast<quint32>(data.size())) + data;
}

QByteArray encodeReply(quint32 result) {
    return le32(result);
}

quint32 decodeReply(const QByteArray& reply) {
    return reply.size() < kReplyBytes ? kIgnored : readLe32(reply, 0);
}

std::optional<LineMessage> parse(quint32 dwData, const QByteArray& data) {
    if (dwData != kLineMessageData) {
        return std::nullopt;
    }
    QByteArray text = data.left(kTakenBytes);
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0) {
        text.truncate(nul);
    }
    if (text.size() < 2) {
        return std::nullopt;
    }
    const char mode = text[text.size() - 2];
    const char line = text[text.size() - 1];
    if (!isDigit(mode) || line < '0' || line > '3') {
        return std::nullopt;
    }
    text.chop(2);
    return LineMessage{text, static_cast<qint16>(mode - '0'), line - '0'};
}

bool FrameReader::feed(const QByteArray& bytes, QList<Frame>& frames) {
    qsizetype at = 0;
    while (at < bytes.size()) {
        if (header.size() < kHeaderBytes) {
            const qsizetype n =
                std::min<qsizetype>(kHeaderBytes - header.size(), bytes.size() - at);
            header.append(bytes.constData() + at, n);
            at += n;
            if (header.size() < kHeaderBytes) {
                break;
            }
            current = Frame{readLe32(header, 0), QByteArray()};
            remaining = readLe32(header, 4);
            if (remaining > kMaxDataBytes) {
                return false;
            }
        } else {
            const qsizetype n = std::min<qsizetype>(remaining, bytes.size() - at);
            const qsizetype kept = std::min<qsizetype>(n, kTakenBytes - current.data.size());
            current.data.append(bytes.constData() + at, kept);
            at += n;
            remaining -= static_cast<quint32>(n);
        }
        if (remaining == 0) {
            frames.append(current);
            header.clear();
        }
    }
    return true;
}

RuntimePath defaultDir() {
    RuntimePath found = findRuntimeDir(QStringLiteral("relayeur"));
    if (!found.path.isEmpty()) {
        found.path += QStringLiteral("/relayeur");
    }
    return found;
}

QString socketPath(const QString& dir, const QString& name) {
    return dir + QLatin1Char('/') + name;
}

QString preparePrivateDir(const QString& dir) {
    const QByteArray path = QFile::encodeName(dir);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return dir + QStringLiteral(" : ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    // The directory may have been there before us, made by anyone where it is the temp dir.
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0) {
        return dir + QStringLiteral(" : ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) {
        return dir + QStringLiteral(" n'est pas un dossier à cet utilisateur");
    }
    if ((info.st_mode & 07777) != 0700 && ::chmod(path.constData(), 0700) != 0) {
        return dir + QStringLiteral(" : ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    return QString();
}

} // namespace linemessage
