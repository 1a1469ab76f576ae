#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// A connection to an MQTT broker through libmosquitto, which lives in a module of its own
// (relayeur-mqtt.so) so that a program without [mqtt] never loads it nor the TLS libraries.
// The library's own thread talks to the broker and reconnects with back-off; what it hears is
// delivered on the thread that made the connection, as the signals below. No call here waits on
// the network.
class MqttConnection : public QObject {
    Q_OBJECT
public:
    struct Options {
        QString host = QStringLiteral("localhost");
        quint16 port = 1883;
        QString clientId;
        QString user;     // empty: none
        QString password; // with a user only
        bool tls = false; // with the system's certificates
        // Sent by the broker when the connection is lost without a word.
        QString willTopic;
        QByteArray willPayload;
        bool willRetain = true;
        int keepAliveSeconds = 30;
        int reconnectMinSeconds = 2; // doubled after each failure, up to the maximum
        int reconnectMaxSeconds = 30;
        qsizetype maxPayload = 64 * 1024; // a longer message is dropped before it is delivered
    };

    // Loads the module from the first candidate that has it and starts connecting; nullptr with
    // the reason in `problem` when none can be loaded or the options cannot be used.
    static std::unique_ptr<MqttConnection> open(const QStringList& moduleCandidates,
                                                const Options& options, QString* problem);
    ~MqttConnection() override = default;

    // Subscriptions are kept and made again on every connection.
    virtual void subscribe(const QString& topic) = 0;
    virtual void unsubscribe(const QString& topic) = 0;
    // Queued when the broker is away; retained messages are kept by the broker for new
    // subscribers, and an empty retained message takes one away.
    virtual void publish(const QString& topic, const QByteArray& payload, bool retain) = 0;
    // Publishes what must be said before leaving (say, the state "hors ligne"), waits a second
    // at most for it to go out, then disconnects cleanly.
    virtual void disconnectWith(const QString& topic, const QByteArray& payload, bool retain) = 0;
    virtual bool connected() const = 0;

Q_SIGNALS:
    void connectedChanged(bool connected, const QString& reason); // reason: why it was lost
    void messageReceived(const QString& topic, const QByteArray& payload, bool retained);
    void droppedOversized(const QString& topic, qsizetype bytes);

protected:
    MqttConnection() = default;
};
