#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// What MQTT messages mean to the program, with no connection in sight: the fuzz target and the
// tests call these directly.
namespace mqttmap {

// A topic as %%mqtt() may name it: not empty, no wildcard (+ or #), no NUL.
bool usableTopic(QByteArrayView topic);

// The payload of a topic as the panel shows it (Windows-1252, first line only, control characters
// as blanks); with a field, the field of a JSON object payload (dots go
// down nested objects: "a.b"), a number or a boolean written as JSON writes it; nothing when the
// payload is no JSON object or has no such field.
QByteArray narrow(QByteArrayView payload, QByteArrayView field);

// The line message that a payload published on relayeur/<machine>/ligne/<line> stands for: a
// plain text, or a JSON object with "texte" and optional "mode" (a digit 0-9) and "hold"
// (seconds, 1 to a day); its control characters are blanks. The answer is the dwData and data of a
// line message (3, or 4 for one that stays), so that it goes through every rule of the messages
// from other programs; nullopt, with the reason in `refusal`, for a line out of 0-3 or a payload
// that says nothing usable.
struct LineMessageBytes {
    quint32 dwData = 0;
    QByteArray data;
};
std::optional<LineMessageBytes> lineMessage(QByteArrayView lineDigit, QByteArrayView payload,
                                            QString* refusal = nullptr);

// The name of this machine as a topic level: its host name with every character other than
// letters, digits, '-' and '_' made '_'.
QString machineLevel(const QString& hostName);

} // namespace mqttmap
