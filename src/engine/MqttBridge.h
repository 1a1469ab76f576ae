#pragma once

#include "engine/LineMessageLog.h"
#include "engine/MqttMapping.h"
#include "model/Log.h"
#include "platform/IniFile.h"
#include "platform/MqttConnection.h"
#include "platform/UnixSocket.h"

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>

// [mqtt] of param.ini: where the broker is and what the program says there.
struct MqttSettings {
    MqttConnection::Options connection;
    QString machine;            // the topic level of this machine: relayeur/<machine>/...
    bool homeAssistant = false; // homeassistant=1: announced by Home Assistant's discovery
};
// nullopt when [mqtt] names no server (the program then stays away from MQTT); what cannot be
// used is told in the log.
std::optional<MqttSettings> readMqttSettings(const IniFile& ini, Log& log);

// The program on an MQTT broker: the values of the topics that %%mqtt() names, line messages
// published on relayeur/<machine>/ligne/<0-3>, the state on relayeur/<machine>/etat (retained,
// "hors ligne" as last will), and, with homeassistant=1, Home Assistant's discovery.
class MqttBridge : public QObject {
    Q_OBJECT
public:
    // What the bridge asks of the rest of the program.
    struct Hooks {
        // A line message, with every rule of those from other programs; the sender is named
        // "MQTT" in the log.
        std::function<quint32(quint32 dwData, const QByteArray& data, const SocketPeer& sender)>
            lineMessage;
        // Home Assistant's text of a line: it stays until cleared; an empty text clears it.
        std::function<void(int line, const QByteArray& text)> keepLine;
        std::function<void(bool on)> setFeed;
        std::function<void(bool on)> setBacklight;
    };
    struct Status {
        int page = 0;
        bool feeding = false;
        bool backlight = true;
        friend bool operator==(const Status&, const Status&) = default;
    };

    MqttBridge(MqttSettings settings, std::unique_ptr<MqttConnection> connection, Hooks hooks,
               Log& log, QObject* parent = nullptr);
    ~MqttBridge() override = default;

    // The last payload of `topic` as the panel shows it, narrowed to `field` when one is given,
    // at most 127 characters; empty before the first message. The first ask subscribes to the
    // topic; a topic with a wildcard is refused once in the log and answers nullopt (the variable
    // stays as typed).
    std::optional<QByteArray> value(QByteArrayView topic, QByteArrayView field);
    // Published when it differs from the last one published.
    void publishStatus(const Status& status);
    // "hors ligne" on the state, then the connection closes.
    void end();

    // The state topic's payloads.
    static QByteArray statePayload(const Status& status);
    static QByteArray offlinePayload();

private:
    enum class Link { Starting, Up, Down };
    void connectedChanged(bool connected, const QString& reason);
    void received(const QString& topic, const QByteArray& payload, bool retained);
    bool lineMessage(QStringView rest, const QByteArray& payload, bool retained);
    bool homeAssistantCommand(QStringView rest, const QByteArray& payload);
    bool oldAnnouncement(const QString& topic, const QByteArray& payload, bool retained);
    void droppedOversized(const QString& topic, qsizetype bytes);
    void announce();
    void say(const QString& line);
    QString base() const; // relayeur/<machine>/
    QString server() const;

    MqttSettings settings;
    std::unique_ptr<MqttConnection> connection;
    Hooks hooks;
    Log& log;
    QHash<QString, QByteArray> values; // the last payload of each topic asked for
    QSet<QString> refusedTopics;       // told once each
    Status status;
    std::optional<Status> published;
    Link link = Link::Starting;
    bool reached = false;      // connected once at least: a new connection is then a return
    LineMessageLog messageLog; // what is said of each message: a flood never fills the log
    QElapsedTimer lastOversizedTold;
    int oversizedUntold = 0;
    bool removalTold = false;
    bool ended = false;
};
