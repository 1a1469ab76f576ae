#pragma once

#include "platform/MqttConnection.h"

// What MqttConnection and the module relayeur-mqtt.so say to each other: plain interfaces, so
// that the module holds no Qt meta-object of its own and the signals stay on the program's side.
// The module calls the events from the library's thread.
struct MqttClientEvents {
    virtual void connectedChanged(bool connected, const QString& reason) = 0;
    virtual void messageReceived(const QString& topic, const QByteArray& payload,
                                 bool retained) = 0;
    virtual void droppedOversized(const QString& topic, qsizetype bytes) = 0;

protected:
    ~MqttClientEvents() = default;
};

class MqttClient {
public:
    virtual ~MqttClient() = default;
    virtual void subscribe(const QString& topic) = 0;
    virtual void unsubscribe(const QString& topic) = 0;
    virtual void publish(const QString& topic, const QByteArray& payload, bool retain) = 0;
    virtual void disconnectWith(const QString& topic, const QByteArray& payload, bool retain) = 0;
};

// nullptr with the reason in `problem` when the options cannot be used.
using MqttClientFactory = MqttClient* (*)(const MqttConnection::Options& options,
                                          MqttClientEvents& events, QString* problem);
inline constexpr char kMqttClientFactory[] = "relayeurMakeMqttClient";
