#include "drivers/LcddProtocol.h"

#include <QList>
#include <arpa/inet.h>

namespace {

constexpr char kHd44780Degree = '\xDF';
constexpr char kLatin1Degree = '\xB0';

std::optional<quint16> portNumber(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port == 0 || port > 65535) {
        return std::nullopt;
    }
    return static_cast<quint16>(port);
}

} // namespace

std::optional<LcddAddress> parseLcddAddress(const QString& text) {
    const QString t = text.trimmed();
    LcddAddress address;
    QString host = t;
    QString port;
    if (t.startsWith(QLatin1Char('['))) {
        const qsizetype close = t.indexOf(QLatin1Char(']'));
        if (close < 0) {
            return std::nullopt;
        }
        host = t.mid(1, close - 1);
        const QString rest = t.mid(close + 1);
        if (!rest.isEmpty() && !rest.startsWith(QLatin1Char(':'))) {
            return std::nullopt;
        }
        port = rest.mid(1);
        in6_addr v6{};
        if (::inet_pton(AF_INET6, host.toLatin1().constData(), &v6) != 1) {
            return std::nullopt;
        }
    } else if (t.count(QLatin1Char(':')) == 1) {
        const qsizetype colon = t.indexOf(QLatin1Char(':'));
        host = t.left(colon);
        port = t.mid(colon + 1);
    } else if (t.contains(QLatin1Char(':'))) {
        return std::nullopt; // a bare IPv6 address would be read wrongly: it takes brackets
    }
    if (host.contains(QLatin1Char(' '))) {
        return std::nullopt;
    }
    if (!host.isEmpty()) {
        address.host = host;
    }
    if (!port.isEmpty()) {
        const auto number = portNumber(port);
        if (!number) {
            return std::nullopt;
        }
        address.port = *number;
    }
    return address;
}

std::optional<LcddSize> parseLcddGreeting(const QByteArray& line) {
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.value(0) != "connect") {
        return std::nullopt;
    }
    LcddSize size;
    for (qsizetype i = 1; i + 1 < words.size(); ++i) {
        if (words[i] == "wid") {
            size.width = words[i + 1].toInt();
        } else if (words[i] == "hgt") {
            size.height = words[i + 1].toInt();
        }
    }
    if (size.width < 1 || size.height < 1) {
        return std::nullopt;
    }
    return size;
}

QByteArray lcddQuoted(const QByteArray& panelText, bool latin1) {
    QByteArray quoted;
    quoted.reserve(panelText.size() + 2);
    quoted += '"';
    for (const char c : panelText) {
        const auto code = static_cast<unsigned char>(c);
        if (c == kHd44780Degree && !latin1) {
            quoted += kLatin1Degree;
        } else if (code < 0x20 || code == 0x7F) {
            quoted += ' ';
        } else {
            if (c == '"' || c == '\\') {
                quoted += '\\';
            }
            quoted += c;
        }
    }
    quoted += '"';
    return quoted;
}
