#include "platform/MqttConnection.h"

#include "platform/MqttClient.h"
#include "platform/SharedLibrary.h"

#include <QCoreApplication>

namespace {

// The module's client, its events brought over to the thread that made the connection.
class ModuleConnection final : public MqttConnection, private MqttClientEvents {
public:
    ModuleConnection(SharedLibrary module, MqttClientFactory make, const Options& options,
                     QString* problem)
        : module(std::move(module)), client(make(options, *this, problem)) {}
    ~ModuleConnection() override {
        // The library's thread ends here: no event comes after.
        client.reset();
    }
    bool made() const { return client != nullptr; }

    void subscribe(const QString& topic) override { client->subscribe(topic); }
    void unsubscribe(const QString& topic) override { client->unsubscribe(topic); }
    void publish(const QString& topic, const QByteArray& payload, bool retain) override {
        client->publish(topic, payload, retain);
    }
    void disconnectWith(const QString& topic, const QByteArray& payload, bool retain) override {
        client->disconnectWith(topic, payload, retain);
    }
    bool connected() const override { return isConnected; }

private:
    void connectedChanged(bool connected, const QString& reason) override {
        QMetaObject::invokeMethod(
            this,
            [this, connected, reason] {
                isConnected = connected;
                Q_EMIT MqttConnection::connectedChanged(connected, reason);
            },
            Qt::QueuedConnection);
    }
    void messageReceived(const QString& topic, const QByteArray& payload, bool retained) override {
        QMetaObject::invokeMethod(
            this,
            [this, topic, payload, retained] {
                Q_EMIT MqttConnection::messageReceived(topic, payload, retained);
            },
            Qt::QueuedConnection);
    }
    void droppedOversized(const QString& topic, qsizetype bytes) override {
        QMetaObject::invokeMethod(
            this, [this, topic, bytes] { Q_EMIT MqttConnection::droppedOversized(topic, bytes); },
            Qt::QueuedConnection);
    }

    SharedLibrary module;
    std::unique_ptr<MqttClient> client;
    bool isConnected = false;
};

} // namespace

std::unique_ptr<MqttConnection> MqttConnection::open(const QStringList& moduleCandidates,
                                                     const Options& options, QString* problem) {
    // libmosquitto and OpenSSL keep state to the end of the process: their code stays mapped.
    std::optional<SharedLibrary> module = SharedLibrary::open(moduleCandidates, true);
    const auto make =
        module ? reinterpret_cast<MqttClientFactory>(module->symbol(kMqttClientFactory)) : nullptr;
    if (make == nullptr) {
        if (problem != nullptr) {
            *problem = QCoreApplication::translate("MqttConnection",
                                                   "module MQTT introuvable ou illisible (%1)")
                           .arg(moduleCandidates.join(QStringLiteral(", ")));
        }
        return nullptr;
    }
    auto connection =
        std::make_unique<ModuleConnection>(std::move(*module), make, options, problem);
    if (!connection->made()) {
        return nullptr;
    }
    return connection;
}
