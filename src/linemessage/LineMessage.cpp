#include "linemessage/LineMessage.h"

#include "model/IsDigit.h"

#include <QtEndian>
#include <cstring>

namespace linemessage {
namespace {

QByteArray le32(quint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

QByteArray encode(quint32 dwData, const QByteArray& data) {
    QByteArray bytes(kHeaderBytes + data.size(), Qt::Uninitialized);
    qToLittleEndian(dwData, bytes.data());
    qToLittleEndian(static_cast<quint32>(data.size()), bytes.data() + 4);
    std::memcpy(bytes.data() + kHeaderBytes, data.constData(), data.size());
    return bytes;
}

QByteArray encodeReply(quint32 result) {
    return le32(result);
}

quint32 decodeReply(const QByteArray& reply) {
    return reply.size() < kReplyBytes ? kIgnored : qFromLittleEndian<quint32>(reply.constData());
}

std::optional<LineMessage> parse(quint32 dwData, const QByteArray& data) {
    if (dwData != kLineMessageData) {
        return std::nullopt;
    }
    QByteArrayView text = QByteArrayView(data).first(std::min<qsizetype>(data.size(), kTakenBytes));
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
    return LineMessage{text.chopped(2).toByteArray(), static_cast<qint16>(mode - '0'), line - '0'};
}

bool FrameReader::feed(QByteArrayView bytes, QList<Frame>& frames) {
    while (!bytes.isEmpty()) {
        if (headerSize < kHeaderBytes) {
            const qsizetype n = std::min<qsizetype>(kHeaderBytes - headerSize, bytes.size());
            std::memcpy(header.data() + headerSize, bytes.data(), n);
            headerSize += n;
            bytes = bytes.sliced(n);
            if (headerSize < kHeaderBytes) {
                break;
            }
            remaining = qFromLittleEndian<quint32>(header.data() + 4);
            if (remaining > kMaxDataBytes) {
                return false;
            }
            current = Frame{qFromLittleEndian<quint32>(header.data()), QByteArray()};
            if (remaining > 0) {
                // The part of the message that is kept, in one allocation.
                current.data.reserve(std::min<qsizetype>(remaining, kTakenBytes));
            }
        } else {
            const qsizetype n = std::min<qsizetype>(remaining, bytes.size());
            const qsizetype kept = std::min<qsizetype>(n, kTakenBytes - current.data.size());
            current.data.append(bytes.first(kept));
            bytes = bytes.sliced(n);
            remaining -= static_cast<quint32>(n);
        }
        if (remaining == 0) {
            frames.append(std::move(current));
            headerSize = 0;
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

} // namespace linemessage
