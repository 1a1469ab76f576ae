#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The parts of LCDd's client protocol that do not need a connection: addresses, the server's
// greeting, and the text of a line as LCDd takes it.

inline const QString kLcddDefaultHost = QStringLiteral("localhost");
constexpr quint16 kLcddDefaultPort = 13666;

struct LcddAddress {
    QString host = kLcddDefaultHost;
    quint16 port = kLcddDefaultPort;
};

// "host:port", "host", ":port" or "[v6 address]:port"; nothing when the text names no address.
std::optional<LcddAddress> parseLcddAddress(const QString& text);

struct LcddSize {
    int width = 0;
    int height = 0;
};

// The size in the server's answer to "hello" ("connect LCDproc 0.5.9 protocol 0.3 lcd wid 20
// hgt 4 ..."); nothing when the line is not that answer.
std::optional<LcddSize> parseLcddGreeting(const QByteArray& line);

// A panel line (bytes for an HD44780's character set, or Latin-1 when `latin1`) as a quoted
// argument of widget_set. The HD44780's degree sign becomes Latin-1's, which LCDd's drivers map
// to their own; codes below 32 and 127, which no text can carry, become spaces.
QByteArray lcddQuoted(const QByteArray& panelText, bool latin1 = false);
