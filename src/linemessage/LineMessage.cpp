#include "linemessage/LineMessage.h"

#include "model/IsDigit.h"
#include "platform/AnsiText.h"

#include <QCoreApplication>
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

QByteArray held(qint32 seconds, const QByteArray& data) {
    return le32(static_cast<quint32>(seconds)) + data;
}

int takenBytes(quint32 dwData) {
    return dwData == kHeldMessageData ? kHoldBytes + kTakenBytes : kTakenBytes;
}

quint32 decodeReply(const QByteArray& reply) {
    return reply.size() < kReplyBytes ? kIgnored : qFromLittleEndian<quint32>(reply.constData());
}

std::optional<LineMessage> parse(quint32 dwData, const QByteArray& data, QString* refusal) {
    const auto refuse = [refusal](const QString& why) -> std::optional<LineMessage> {
        if (refusal) {
            *refusal = why;
        }
        return std::nullopt;
    };
    QByteArrayView text = data;
    qint32 hold = 0;
    if (dwData == kHeldMessageData) {
        if (text.size() < kHoldBytes) {
            return refuse(QCoreApplication::translate("LineMessage",
                                                      "la durée de maintien (4 octets) manque"));
        }
        hold = qFromLittleEndian<qint32>(text.data());
        if (hold < 0 || hold > kMaxHoldSeconds) {
            return refuse(QCoreApplication::translate("LineMessage",
                                                      "durée de maintien de %1 s, hors de 0 à %2 s")
                              .arg(hold)
                              .arg(kMaxHoldSeconds));
        }
        text = text.sliced(kHoldBytes);
    } else if (dwData != kLineMessageData) {
        return refuse(
            QCoreApplication::translate(
                "LineMessage", "dwData %1 : ni 3 (message de ligne) ni 4 (message qui reste)")
                .arg(dwData));
    }
    text = text.first(std::min<qsizetype>(text.size(), kTakenBytes));
    if (const qsizetype nul = text.indexOf('\0'); nul >= 0) {
        text.truncate(nul);
    }
    if (text.size() < 2) {
        return refuse(QCoreApplication::translate(
            "LineMessage", "il manque le chiffre du mode et celui de la ligne"));
    }
    const char mode = text[text.size() - 2];
    const char line = text[text.size() - 1];
    if (!isDigit(mode)) {
        return refuse(
            QCoreApplication::translate("LineMessage", "le mode « %1 » n'est pas un chiffre")
                .arg(readable(ansi::toUnicode(QByteArray(1, mode)))));
    }
    if (line < '0' || line > '3') {
        return refuse(QCoreApplication::translate("LineMessage",
                                                  "la ligne « %1 » n'est pas un chiffre de 0 à 3")
                          .arg(readable(ansi::toUnicode(QByteArray(1, line)))));
    }
    return LineMessage{text.chopped(2).toByteArray(), static_cast<qint16>(mode - '0'), line - '0',
                       hold};
}

QString readable(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control) {
            out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
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
                current.data.reserve(std::min<qsizetype>(remaining, takenBytes(current.dwData)));
            }
        } else {
            const qsizetype n = std::min<qsizetype>(remaining, bytes.size());
            const qsizetype kept =
                std::min<qsizetype>(n, takenBytes(current.dwData) - current.data.size());
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
