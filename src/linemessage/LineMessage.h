#pragma once

#include "platform/RuntimeDir.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <array>
#include <optional>

// Line messages: how another program of the same user puts text on one line of the panel.
// A message travels over a local socket as dwData (32-bit little-endian), cbData (32-bit
// little-endian), then cbData bytes of Windows-1252 text; the receiver answers each message with
// a 32-bit little-endian result. Both Relayeur and relayeur-send use what is here.
namespace linemessage {

// A line message: text, mode digit, line digit.
inline constexpr quint32 kLineMessageData = 3;
// A line message that stays: a 32-bit little-endian count of seconds, then what a line message
// holds. The line keeps the text that long whatever the pages do.
inline constexpr quint32 kHeldMessageData = 4;
inline constexpr int kHoldBytes = 4;
inline constexpr qint32 kMaxHoldSeconds = 24 * 60 * 60;
// Of the bytes of a message, only the first 255 are taken, as into a 255-byte buffer (after the
// hold, for a message that stays).
inline constexpr int kTakenBytes = 255;
// A message announcing more bytes than this is not read: its connection is dropped.
inline constexpr quint32 kMaxDataBytes = 64 * 1024;
inline constexpr int kHeaderBytes = 8;
inline constexpr int kReplyBytes = 4;
// The results sent back: the message changed a line, or it was left aside.
inline constexpr quint32 kTaken = 1;
inline constexpr quint32 kIgnored = 0;

// The socket every running Relayeur listens on besides the one named after its window.
inline const QString kDefaultName = QStringLiteral("default");

QByteArray encode(quint32 dwData, const QByteArray& data);
// The data of a message that stays `seconds`, made of the data of a line message.
QByteArray held(qint32 seconds, const QByteArray& data);
// How many bytes of a message of this dwData are taken.
int takenBytes(quint32 dwData);
QByteArray encodeReply(quint32 result);
quint32 decodeReply(const QByteArray& reply);

struct LineMessage {
    QByteArray text; // Windows-1252, without the two digits
    qint16 mode = 0; // scroll mode, one digit
    int line = 0;    // 0 to 3, 0 the top line
    qint32 hold = 0; // seconds the line keeps it whatever the pages do; 0: until the next page
};

// What a message asks for: dwData 3, its first 255 bytes cut at the first NUL, then the text, a
// scroll-mode digit and a line digit 0 to 3; or dwData 4, a hold of 0 to kMaxHoldSeconds, then
// the same. Anything else asks for nothing, and `refusal`, when given, says why.
std::optional<LineMessage> parse(quint32 dwData, const QByteArray& data,
                                 QString* refusal = nullptr);

// Text as a person can read it in a log: control characters as \xHH.
QString readable(const QString& text);

// Cuts the byte stream of one connection into messages, whatever the pieces it arrives in.
// It never holds more than a header and the bytes that are taken of a message.
class FrameReader {
public:
    struct Frame {
        quint32 dwData = 0;
        QByteArray data; // at most takenBytes(dwData)
    };

    // Adds the complete messages of `bytes` to `frames`; false once a header announces more
    // than kMaxDataBytes, after which the connection is of no further use.
    bool feed(QByteArrayView bytes, QList<Frame>& frames);

private:
    std::array<char, kHeaderBytes> header{};
    qsizetype headerSize = 0;
    Frame current;
    quint32 remaining = 0;
};

// The directory of the sockets: relayeur in the user's runtime folder.
RuntimePath defaultDir();
QString socketPath(const QString& dir, const QString& name);

} // namespace linemessage
